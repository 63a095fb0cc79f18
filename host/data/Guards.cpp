#include "host/data/Guards.h"

#include <exception>

namespace quil {

BulkChangeGuard::~BulkChangeGuard() noexcept(false) {
  if (std::uncaught_exceptions() > 0) {
    // Already unwinding: restore the flag, but an apply failing now must not terminate; the
    // unapplied changes stay in the log.
    try {
      ds_.SetBulkChange(former_);
    } catch (...) {
    }
    return;
  }
  ds_.SetBulkChange(former_);
}

FilterGuard::~FilterGuard() {
  try {
    ds_.SetFilter(text_);
    ds_.SetFiltered(filtered_);
  } catch (...) {
    // The text compiled before, so it compiles again; nothing to report while unwinding.
  }
}

BookmarkGuard::~BookmarkGuard() {
  try {
    if (bookmark_ != kNoBookmark && ds_.BookmarkValid(bookmark_)) ds_.GotoBookmark(bookmark_);
  } catch (...) {
  }
}

}  // namespace quil
