// Stands in for an MPlayer stuck in the kernel (uninterruptible I/O on a dead
// drive), whose end after SIGKILL its parent cannot see until the I/O
// returns. Here a tracer of our own holds that end: a traced process's exit
// is shown to its tracer first, and to its parent only once the tracer lets
// go, which this one does after kHoldSeconds. Prints "traced" once held, or
// why it could not be.
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/ptrace.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr unsigned kHoldSeconds = 8;

}  // namespace

int main() {
  int go[2];
  if (pipe(go) != 0) return 1;
  const pid_t tracer = fork();
  if (tracer < 0) return 1;
  if (tracer == 0) {
    close(go[1]);
    char byte = 0;
    if (read(go[0], &byte, 1) != 1) return 1;
    if (ptrace(PTRACE_SEIZE, getppid(), nullptr, nullptr) != 0) {
      std::printf("no tracing: %s\n", std::strerror(errno));
      return 1;
    }
    std::printf("traced\n");
    std::fflush(stdout);
    // The engine's output must end when the engine does, not with us.
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    sleep(kHoldSeconds);
    return 0;
  }
  // Where tracing is limited to ancestors, this child is let in by name.
  prctl(PR_SET_PTRACER, tracer, 0, 0, 0);
  if (write(go[1], "g", 1) != 1) return 1;
  for (;;) pause();
}
