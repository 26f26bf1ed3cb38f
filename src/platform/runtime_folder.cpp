#include "platform/runtime_folder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

void SetError(std::string* error, const std::string& text) {
  if (error) *error = text;
}

}  // namespace

bool MakePrivateFolder(const std::string& path, std::string* error) {
  if (path.empty() || path[0] != '/') {
    SetError(error, "not an absolute path: '" + path + "'");
    return false;
  }
  if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
    SetError(error, "cannot create " + path + ": " + std::strerror(errno));
    return false;
  }
  // lstat: a symbolic link planted in a shared /tmp must not redirect us.
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0) {
    SetError(error, "cannot inspect " + path + ": " + std::strerror(errno));
    return false;
  }
  if (!S_ISDIR(info.st_mode)) {
    SetError(error, path + " is not a directory");
    return false;
  }
  if (info.st_uid != geteuid()) {
    SetError(error, path + " belongs to another user");
    return false;
  }
  if ((info.st_mode & 077) != 0) {
    SetError(error, path + " is open to group or others");
    return false;
  }
  return true;
}

std::string PrivateRuntimeFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && runtime[0] == '/') {
    std::string folder = runtime;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    folder += folder == "/" ? "kinovue" : "/kinovue";
    if (MakePrivateFolder(folder)) return folder;
  }
  const std::string fallback = "/tmp/kinovue-" + std::to_string(geteuid());
  if (MakePrivateFolder(fallback)) return fallback;
  return {};
}

}  // namespace platform
