#include "xvfb.h"

#include <QString>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "run_command.h"

namespace testsupport {

namespace {

// Sends an X connection setup to the server at display ":number" through its
// abstract socket (which clients try first) or its socket file. Returns the
// connection, for the caller to close, or -1 with the reason in refusal.
int SetUpConnection(const std::string& number, bool abstract, std::string& refusal) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string path = "/tmp/.X11-unix/X" + number;
  socklen_t length = sizeof address;
  if (abstract) {
    path.copy(address.sun_path + 1, sizeof address.sun_path - 2);
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + path.size());
  } else {
    path.copy(address.sun_path, sizeof address.sun_path - 1);
  }
  const std::string where = (abstract ? "@" : "") + path + ": ";
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    refusal = where + "no socket";
    return -1;
  }
  // Little-endian, protocol 11.0, no authorisation.
  const unsigned char request[12] = {'l', 0, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  unsigned char reply[256] = {};
  pollfd p{fd, POLLIN, 0};
  ssize_t got = 0;
  if (connect(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
    refusal = where + "connect: " + std::strerror(errno);
  } else if (write(fd, request, sizeof request) != sizeof request) {
    refusal = where + "write: " + std::strerror(errno);
  } else if (poll(&p, 1, 10000) <= 0 || (got = read(fd, reply, sizeof reply)) <= 0) {
    refusal = where + "no answer";
  } else if (reply[0] != 1) {
    const std::size_t reasonLength = std::min<std::size_t>(reply[1], got > 8 ? static_cast<std::size_t>(got) - 8 : 0);
    refusal = where + "refused: " + std::string(reinterpret_cast<const char*>(reply) + 8, reasonLength);
  }
  if (refusal.empty()) return fd;
  close(fd);
  return -1;
}

}  // namespace

Xvfb::Xvfb(int width, int height, WhenIdle idle) {
  const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  for (int attempt = 0; attempt < 3; ++attempt) {
    Launch(screen, idle);
    const std::string health = Running() ? Health() : "no display number";
    if (health.empty()) return;
    std::fprintf(stderr, "[ xvfb     ] replacing a server that does not serve: %s\n", health.c_str());
    Stop();
  }
}

Xvfb::~Xvfb() {
  // A server that ended before the test stopped it explains a test's failure.
  siginfo_t info{};
  if (Ended(info))
    std::fprintf(stderr, "[ xvfb     ] the server on %s ended by itself: %s\n", display_.c_str(), Health().c_str());
  Stop();
}

bool Xvfb::Ended(siginfo_t& info) const {
  // WNOWAIT: the server stays a zombie for Stop() to reap.
  return pid_ > 0 && waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
         info.si_pid == pid_;
}

std::string Xvfb::Health() const {
  std::string health;
  siginfo_t info{};
  if (pid_ <= 0) {
    health = "not started; ";
  } else if (Ended(info)) {
    health = "ended with " + std::string(info.si_code == CLD_EXITED ? "status " : "signal ") +
             std::to_string(info.si_status) + "; ";
  } else if (!display_.empty()) {
    const std::string number = display_.substr(1);
    // Both held at once: a server that resets when its last client leaves
    // would otherwise be resetting under the second.
    std::string abstract, file;
    const int fds[] = {SetUpConnection(number, true, abstract), SetUpConnection(number, false, file)};
    for (const int fd : fds)
      if (fd >= 0) close(fd);
    if (abstract.empty() && file.empty()) return {};
    health = abstract + (abstract.empty() || file.empty() ? "" : "; ") + file + "; ";
  }
  const std::string log = ReadFileBytes(Log());
  return health + "log: " + log.substr(log.size() > 600 ? log.size() - 600 : 0);
}

void Xvfb::Launch(const std::string& screen, WhenIdle idle) {
  // Xvfb picks a free display and writes its number to descriptor 3.
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return;
  std::vector<std::string> command{"Xvfb", "-displayfd", "3", "-screen", "0", screen, "-nolisten", "tcp", "-ac"};
  if (idle == WhenIdle::kKeepServing) command.push_back("-noreset");
  pid_ = SpawnCommand(command, fds[1], 3, Log());
  close(fds[1]);
  std::string number;
  pollfd p{fds[0], POLLIN, 0};
  char c;
  while (poll(&p, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  close(fds[0]);
  if (!number.empty()) display_ = ":" + number;
}

void Xvfb::Stop() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  pid_ = -1;
  display_.clear();
}

std::string RunWithDisplay(const std::string& display, const std::string& command, int timeoutMs) {
  const CommandResult result = RunCommand({"/bin/sh", "-c", command}, {"DISPLAY=" + display}, timeoutMs);
  return result.exitCode < 0 ? std::string() : QString::fromStdString(result.output).trimmed().toStdString();
}

}  // namespace testsupport
