#include "platform/pipe.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <sys/ioctl.h>
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

bool WaitReadable(int fd) {
  for (;;) {
    pollfd ready{fd, POLLIN, 0};
    if (poll(&ready, 1, -1) == 1) return true;
    if (errno != EINTR) return false;
  }
}

std::size_t BytesWaiting(int fd) {
  int count = 0;
  return ioctl(fd, FIONREAD, &count) == 0 && count > 0 ? static_cast<std::size_t>(count) : 0;
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

int SetNonBlocking(int fd) {
  const int flags = fcntl(fd, F_GETFL);
  if (flags < 0 || fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0) return errno;
  return 0;
}

std::size_t DrainPipe(int fd) {
  // Bounded, in case another writer never stops.
  constexpr std::size_t kLimit = 1 << 20;
  char buffer[4096];
  std::size_t total = 0;
  while (fd >= 0 && total < kLimit) {
    pollfd in{fd, POLLIN, 0};
    if (poll(&in, 1, 0) != 1 || !(in.revents & POLLIN)) break;
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    total += static_cast<std::size_t>(n);
  }
  return total;
}

void ClosePipe(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

}  // namespace platform
