#include "host/base/IDList.h"

#include <algorithm>

namespace quil {

bool TIDList::Contains(int64_t id) const {
  return std::find(ids_.begin(), ids_.end(), id) != ids_.end();
}

std::string TIDList::GetAsString() const {
  std::string text;
  for (int64_t id : ids_) {
    if (!text.empty()) text += ',';
    text += std::to_string(id);
  }
  return text;
}

}  // namespace quil
