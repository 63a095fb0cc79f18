// ScopeExit: runs a step when the scope ends, on every path (a return, a client error, EAbort).
// For one-off restores that have no guard of their own in host/data/Guards.h. While an error
// unwinds, a step that throws in turn is silenced (the first error is the one the user sees); on a
// normal end its error goes on like any other.
#pragma once

#include <exception>
#include <utility>

namespace quil {

template <class Step>
class ScopeExit {
 public:
  explicit ScopeExit(Step step) : step_(std::move(step)), exceptions_(std::uncaught_exceptions()) {}
  ~ScopeExit() noexcept(false) {
    if (std::uncaught_exceptions() > exceptions_) {
      try {
        step_();
      } catch (...) {
      }
      return;
    }
    step_();
  }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  Step step_;
  int exceptions_;  //!< exceptions in flight when the scope began
};

}  // namespace quil
