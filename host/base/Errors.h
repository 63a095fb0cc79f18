// The two exceptions that end an operation.
//
// EClientError carries a Dutch message for the user; the host's event boundary shows it and
// abandons the running operation. EAbort ends an operation silently (the user said No or Cancel).
// Nothing else is caught by the boundary as an expected outcome: any other exception is an
// internal error.
#pragma once

#include <stdexcept>
#include <string>

namespace quil {

class EClientError : public std::runtime_error {
 public:
  explicit EClientError(const std::string& message) : std::runtime_error(message) {}
};

class EAbort : public std::exception {
 public:
  const char* what() const noexcept override { return "Operation aborted"; }
};

[[noreturn]] inline void RaiseClientError(const std::string& message) {
  throw EClientError(message);
}

[[noreturn]] inline void Abort() { throw EAbort(); }

}  // namespace quil
