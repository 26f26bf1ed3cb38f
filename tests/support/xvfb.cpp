#include "xvfb.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

namespace {

// Whether the server's socket for display ":number" accepts a connection.
bool Connectable(const std::string& number) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "/tmp/.X11-unix/X%s", number.c_str());
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool ok = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return ok;
}

}  // namespace

Xvfb::Xvfb(int width, int height) {
  const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  for (int attempt = 0; attempt < 3; ++attempt) {
    Launch(screen);
    if (Running() && Connectable(display_.substr(1))) return;
    Stop();
  }
}

Xvfb::~Xvfb() { Stop(); }

void Xvfb::Launch(const std::string& screen) {
  int fds[2];
  if (pipe(fds) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    // Xvfb picks a free display and writes its number to the pipe.
    dup2(fds[1], 3);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 1);
    dup2(null, 2);
    execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", screen.c_str(), "-nolisten", "tcp", "-ac",
           static_cast<char*>(nullptr));
    _exit(127);
  }
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
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("DISPLAY", QString::fromStdString(display));
  process.setProcessEnvironment(env);
  process.start("/bin/sh", {"-c", QString::fromStdString(command)});
  if (!process.waitForFinished(timeoutMs)) {
    process.kill();
    process.waitForFinished(1000);
    return {};
  }
  return process.readAllStandardOutput().trimmed().toStdString();
}

}  // namespace testsupport
