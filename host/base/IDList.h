// TIDList: an ordered list of record ids, as the screens pass selections to the server.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quil {

class TIDList {
 public:
  void Add(int64_t id) { ids_.push_back(id); }
  void Clear() { ids_.clear(); }
  int Count() const { return static_cast<int>(ids_.size()); }
  bool IsEmpty() const { return ids_.empty(); }
  int64_t operator[](int index) const { return ids_.at(index); }
  bool Contains(int64_t id) const;
  //! The ids joined with "," and no blanks: "12,7,30".
  std::string GetAsString() const;
  const std::vector<int64_t>& Items() const { return ids_; }

 private:
  std::vector<int64_t> ids_;
};

}  // namespace quil
