#include "platform/pipe.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace platform {

int CreatePipe(int& readFd, int& writeFd) {
  static std::once_flag ignoreSigpipe;
  std::call_once(ignoreSigpipe, [] { std::signal(SIGPIPE, SIG_IGN); });
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return errno;
  readFd = fds[0];
  writeFd = fds[1];
  return 0;
}

int ReplaceStandardInput(int fd) {
  while (dup2(fd, STDIN_FILENO) < 0) {
    if (errno != EINTR) return errno;
  }
  return 0;
}

long ReadPipe(int fd, char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t n = read(fd, buffer, size);
    if (n >= 0) return static_cast<long>(n);
    if (errno != EINTR) return -1;
  }
}

bool WritePipe(int fd, const char* data, std::size_t size) {
  if (fd < 0) return false;
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

void ClosePipe(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

}  // namespace platform
