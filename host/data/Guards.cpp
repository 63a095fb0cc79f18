#include "host/data/Guards.h"

#include <exception>

namespace quil {

BulkChangeGuard::BulkChangeGuard(TQuilClientDataSet& ds)
    : ds_(ds), exceptions_(std::uncaught_exceptions()) {
  ds_.BeginBulkChange();
}

BulkChangeGuard::~BulkChangeGuard() noexcept(false) {
  if (std::uncaught_exceptions() > exceptions_) {
    // The work failed: undo it. Nothing may escape while the error unwinds.
    try {
      ds_.CancelBulkChange();
    } catch (...) {
    }
    return;
  }
  ds_.EndBulkChange();
}

namespace {

// While an error unwinds, the record the failed work was editing is dropped: restoring a filter or
// a position would otherwise post it.
void DropFailedEdit(TQuilClientDataSet& ds, int exceptionsBefore) {
  if (std::uncaught_exceptions() <= exceptionsBefore) return;
  ds.Cancel();  // nothing outside edit and insert
}

}  // namespace

FilterGuard::~FilterGuard() {
  try {
    DropFailedEdit(ds_, exceptions_);
    ds_.SetFilter(text_);
    ds_.SetFiltered(filtered_);
  } catch (...) {
    // The text compiled before, so it compiles again; nothing to report while unwinding.
  }
}

BookmarkGuard::~BookmarkGuard() {
  try {
    DropFailedEdit(ds_, exceptions_);
    if (ds_.BookmarkValid(bookmark_)) ds_.GotoBookmark(bookmark_);  // none for kNoBookmark
  } catch (...) {
  }
}

}  // namespace quil
