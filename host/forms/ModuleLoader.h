// Loading a module of screens into the host.
//
// A module is a shared library that exports two functions with C linkage and no arguments: its
// entry (kModuleEntry), which runs the initialisation of its units and so registers its screens
// with FormManager(), and its exit (kModuleExit), which runs their finalisation. The host maps the
// library, calls the entry once, and keeps the library mapped for the life of the process: the
// registrations it made are never withdrawn, so its code must stay.
#pragma once

#include <string>

namespace quil {

inline constexpr const char* kModuleEntry = "QuilModuleEntry";
inline constexpr const char* kModuleExit = "QuilModuleExit";

class TModuleHandle {
 public:
  //! Maps the library and runs its entry; throws EClientError naming the file when the library
  //! cannot be loaded or exports no entry.
  explicit TModuleHandle(const std::string& path);
  //! Runs the module's exit; the library stays mapped.
  ~TModuleHandle();
  TModuleHandle(const TModuleHandle&) = delete;
  TModuleHandle& operator=(const TModuleHandle&) = delete;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  void* library_ = nullptr;
  void (*exit_)() = nullptr;
};

//! The directory of the running program, for modules installed next to it.
std::string ProgramDirectory();

}  // namespace quil
