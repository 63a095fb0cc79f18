// Printouts: the printable listings of a session, kept for the browser to fetch.
//
// A report a screen prints becomes a listing of its main data source: the report's title, the
// screen's caption, the report's files and parameters, the time it was printed, and the columns
// of the grid that shows that source (or every visible field) with its records in the current
// order, at most kMaxPrintRows (the listing says when it was cut). The last kKeptPrints are kept;
// the browser opens the newest (Last) and fetches it by number.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "host/forms/QuilApplication.h"

namespace quil::web {

class Printouts {
 public:
  //! Rows of a printable listing; a larger list is cut, and the listing says so.
  static constexpr int kMaxPrintRows = 5000;
  //! Listings kept for the browser to fetch.
  static constexpr size_t kKeptPrints = 5;

  //! Keeps the listing of a printed report; `form` is the screen that printed it (nullptr: the
  //! listing has no rows).
  void Keep(const TPrintRequest& request, TQuilDBForm* form, const std::string& printed);
  //! A kept listing; BadRequest when it is no longer kept.
  const nlohmann::json& Find(int id) const;
  //! {"id", "title"} of the newest listing; null before the first.
  const nlohmann::json& Last() const { return last_; }

 private:
  struct Kept {
    int id;
    nlohmann::json listing;
  };

  int count_ = 0;
  std::vector<Kept> kept_;
  nlohmann::json last_;
};

}  // namespace quil::web
