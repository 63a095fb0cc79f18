#include "host/forms/ModuleLoader.h"

#include <dlfcn.h>

#include <filesystem>

#include "host/base/Errors.h"
#include "host/base/SysUtils.h"

namespace quil {

TModuleHandle::TModuleHandle(const std::string& path) : path_(path) {
  // RTLD_NODELETE: registered factories point into the library, so it is never unmapped.
  library_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (library_ == nullptr) {
    const char* reason = dlerror();
    RaiseClientError(Format("Module '%s' kan niet geladen worden: %s", path,
                            std::string(reason != nullptr ? reason : "onbekende fout")));
  }
  auto entry = reinterpret_cast<void (*)()>(dlsym(library_, kModuleEntry));
  exit_ = reinterpret_cast<void (*)()>(dlsym(library_, kModuleExit));
  if (entry == nullptr) {
    dlclose(library_);
    RaiseClientError(Format("Module '%s' heeft geen ingang %s", path, kModuleEntry));
  }
  entry();
}

TModuleHandle::~TModuleHandle() {
  if (exit_ != nullptr) exit_();
  dlclose(library_);
}

std::string ProgramDirectory() {
  std::error_code error;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string(".") : exe.parent_path().string();
}

}  // namespace quil
