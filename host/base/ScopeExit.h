// ScopeExit: runs a step when the scope ends, on every path (a return, a client error, EAbort).
// For one-off restores that have no guard of their own in host/data/Guards.h. The step must not
// throw: it runs while an exception may be unwinding.
#pragma once

#include <utility>

namespace quil {

template <class Step>
class ScopeExit {
 public:
  explicit ScopeExit(Step step) : step_(std::move(step)) {}
  ~ScopeExit() { step_(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  Step step_;
};

}  // namespace quil
