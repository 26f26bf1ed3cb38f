#include "platform/named_mutex.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/runtime_folder.h"

namespace platform {

NamedMutex::NamedMutex(const std::string& name, const std::string& folder) {
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos ||
      name.find('\0') != std::string::npos) {
    error_ = "not a plain file name: '" + name + "'";
    return;
  }
  const std::string dir = folder.empty() ? PrivateRuntimeFolder() : folder;
  if (dir.empty()) {
    error_ = "no private runtime folder could be used";
    return;
  }
  path_ = dir + "/" + name;
  // O_NOFOLLOW: a link put in place of the lock file must not lead elsewhere.
  int fd;
  do {
    fd = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    error_ = "cannot open " + path_ + ": " + std::strerror(errno);
    return;
  }
  int result;
  do {
    result = flock(fd, LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  if (result == 0) {
    fd_ = fd;
    return;
  }
  const int lockError = errno;
  close(fd);
  if (lockError == EWOULDBLOCK) {
    alreadyRunning_ = true;
  } else {
    error_ = "cannot lock " + path_ + ": " + std::strerror(lockError);
  }
}

NamedMutex::~NamedMutex() {
  if (fd_ >= 0) close(fd_);
}

}  // namespace platform
