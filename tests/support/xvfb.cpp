#include "xvfb.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

Xvfb::Xvfb(int width, int height) {
  int fds[2];
  if (pipe(fds) != 0) return;
  const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
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

Xvfb::~Xvfb() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
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
