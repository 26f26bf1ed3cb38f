#include "platform/upgrade_process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>

#include "platform/clock.h"
#include "platform/runtime_folder.h"

namespace platform {
namespace {

std::string EventPath(const std::string& name, const std::string& runtimeFolder) {
  const std::string folder = runtimeFolder.empty() ? PrivateRuntimeFolder() : runtimeFolder;
  return folder.empty() ? std::string() : folder + "/" + name;
}

// poll that goes on after signals, within the overall time.
int PollFor(int fd, short events, int timeoutMs) {
  const std::uint64_t start = TickCountMs();
  for (;;) {
    int left = -1;
    if (timeoutMs >= 0) {
      const std::uint64_t spent = TickCountMs() - start;
      left = spent >= static_cast<std::uint64_t>(timeoutMs) ? 0 : timeoutMs - static_cast<int>(spent);
    }
    pollfd entry{fd, events, 0};
    const int result = poll(&entry, 1, left);
    if (result < 0 && errno == EINTR) continue;
    return result > 0 ? entry.revents : result;
  }
}

}  // namespace

int OpenInheritableOwnProcessHandle() {
  const int fd = static_cast<int>(syscall(SYS_pidfd_open, getpid(), 0));
  if (fd < 0) return -1;
  // pidfd_open always sets close-on-exec; the helper must inherit it.
  const int flags = fcntl(fd, F_GETFD);
  if (flags < 0 || fcntl(fd, F_SETFD, flags & ~FD_CLOEXEC) < 0) {
    close(fd);
    return -1;
  }
  return fd;
}

bool IsProcessHandle(int fd) {
  if (fd < 0 || fcntl(fd, F_GETFD) < 0) return false;
  std::ifstream info("/proc/self/fdinfo/" + std::to_string(fd));
  std::string line;
  while (std::getline(info, line)) {
    if (line.rfind("Pid:", 0) == 0) return true;
  }
  return false;
}

bool WaitProcessHandle(int fd, int timeoutMs) {
  const int revents = PollFor(fd, POLLIN, timeoutMs);
  return revents > 0 && (revents & POLLIN);
}

void CloseHandle(int fd) {
  if (fd >= 0) close(fd);
}

NamedEventWaiter::NamedEventWaiter(const std::string& name, const std::string& runtimeFolder)
    : path_(EventPath(name, runtimeFolder)) {
  if (path_.empty()) return;
  unlink(path_.c_str());  // a stale one from a crashed run
  if (mkfifo(path_.c_str(), 0600) != 0) {
    path_.clear();
    return;
  }
  // Non-blocking, so opening needs no writer; read and write, so that the
  // FIFO never reports the end before a helper has written to it.
  fd_ = open(path_.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
}

NamedEventWaiter::~NamedEventWaiter() {
  if (fd_ >= 0) close(fd_);
  if (!path_.empty()) unlink(path_.c_str());
}

bool NamedEventWaiter::Wait(int timeoutMs) {
  if (fd_ < 0) return false;
  const int revents = PollFor(fd_, POLLIN, timeoutMs);
  return revents > 0 && (revents & POLLIN);
}

bool SignalNamedEvent(const std::string& name, const std::string& runtimeFolder) {
  const std::string path = EventPath(name, runtimeFolder);
  struct stat status {};
  if (path.empty() || lstat(path.c_str(), &status) != 0 || !S_ISFIFO(status.st_mode)) return false;
  const int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;  // nobody waits
  const char one = 1;
  const bool written = write(fd, &one, 1) == 1;
  close(fd);
  return written;
}

}  // namespace platform
