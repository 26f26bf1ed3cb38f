#include "platform/file_moves.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

int SyncPath(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return errno;
  const int result = fsync(fd) == 0 ? 0 : errno;
  close(fd);
  return result;
}

int LinkFile(const std::string& existing, const std::string& name) {
  return linkat(AT_FDCWD, existing.c_str(), AT_FDCWD, name.c_str(), 0) == 0 ? 0 : errno;
}

int RenameOver(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

}  // namespace platform
