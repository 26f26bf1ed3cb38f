#include "platform/dynamic_library.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

bool DynamicLibrary::Load(const std::string& path) {
  Free();
  errno = 0;
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  errorNumber_ = handle_ ? 0 : errno;
  // The loader does not always leave errno set: ask the file system.
  if (!handle_ && errorNumber_ == 0) errorNumber_ = access(path.c_str(), R_OK) != 0 ? errno : ENOEXEC;
  if (!handle_) {
    const char* why = dlerror();
    error_ = why ? why : "cannot load " + path;
    return false;
  }
  error_.clear();
  return true;
}

void* DynamicLibrary::Symbol(const char* name) {
  if (!handle_) {
    error_ = "no library loaded";
    return nullptr;
  }
  dlerror();
  void* address = dlsym(handle_, name);
  if (!address) {
    const char* why = dlerror();
    error_ = why ? why : std::string("no symbol ") + name;
  }
  return address;
}

void DynamicLibrary::Free() {
  if (handle_ && !keepLoaded_) dlclose(handle_);
  handle_ = nullptr;
}

std::string FolderOfLoadedLibrary(const void* address) {
  Dl_info info{};
  if (!dladdr(address, &info) || !info.dli_fname) return {};
  const std::string path = info.dli_fname;
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace platform
