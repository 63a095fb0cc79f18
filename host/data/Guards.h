// RAII guards that restore a dataset's temporary state on every path, failures included.
#pragma once

#include <exception>
#include <string>

#include "host/data/ClientDataSet.h"

namespace quil {

//! DisableControls now, EnableControls when it goes out of scope.
class DisableControlsGuard {
 public:
  explicit DisableControlsGuard(TQuilClientDataSet& ds) : ds_(ds) { ds_.DisableControls(); }
  ~DisableControlsGuard() { ds_.EnableControls(); }
  DisableControlsGuard(const DisableControlsGuard&) = delete;
  DisableControlsGuard& operator=(const DisableControlsGuard&) = delete;

 private:
  TQuilClientDataSet& ds_;
};

//! Bulk work as one: begins a bulk change on the dataset (an edit in progress is finished first).
//! A normal end of the scope ends it, and the outermost guard sends the gathered changes as one
//! apply (a failing apply raises the server's message and keeps the log). An exception leaving the
//! scope returns the dataset to what it was when the guard began (records, change log, cursor,
//! sort and filter), applies nothing and lets the error go on.
class BulkChangeGuard {
 public:
  explicit BulkChangeGuard(TQuilClientDataSet& ds);
  ~BulkChangeGuard() noexcept(false);
  BulkChangeGuard(const BulkChangeGuard&) = delete;
  BulkChangeGuard& operator=(const BulkChangeGuard&) = delete;

 private:
  TQuilClientDataSet& ds_;
  int exceptions_;  //!< exceptions in flight when the guard began
};

//! Remembers filter text and Filtered; both return at the end of the scope (the dataset then
//! goes to its first record, as on every filter change). When an error ends the scope, an edit the
//! failed work left open is cancelled first rather than posted.
class FilterGuard {
 public:
  explicit FilterGuard(TQuilClientDataSet& ds)
      : ds_(ds),
        text_(ds.Filter()),
        filtered_(ds.Filtered()),
        exceptions_(std::uncaught_exceptions()) {}
  ~FilterGuard();
  FilterGuard(const FilterGuard&) = delete;
  FilterGuard& operator=(const FilterGuard&) = delete;

 private:
  TQuilClientDataSet& ds_;
  std::string text_;
  bool filtered_;
  int exceptions_;
};

//! Keeps the current record and returns to it (when it still exists) at the end of the scope.
//! When an error ends the scope, an edit the failed work left open is cancelled, not posted.
class BookmarkGuard {
 public:
  explicit BookmarkGuard(TQuilClientDataSet& ds)
      : ds_(ds), bookmark_(ds.GetBookmark()), exceptions_(std::uncaught_exceptions()) {}
  ~BookmarkGuard();
  BookmarkGuard(const BookmarkGuard&) = delete;
  BookmarkGuard& operator=(const BookmarkGuard&) = delete;

 private:
  TQuilClientDataSet& ds_;
  TBookmark bookmark_;
  int exceptions_;
};

}  // namespace quil
