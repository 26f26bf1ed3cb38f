#include "enginelib/engine_supervisor.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/signalfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using CloneFunction = int (*)(int (*)(void*), void*, int, void*, ...);

struct ChildPlan {
  pid_t host;
  CloneFunction clone;
  const char* path;
  char* const* argv;
  char* const* envp;
  int outputFd;
  int reportFd;       // the supervisor writes the start's errno (0: MPlayer runs) here
  char* engineStack;  // top of the stack MPlayer's child routine runs on
  pid_t supervisor;   // set by the supervisor for MPlayer's check of its parent
  int error;          // set by MPlayer's child routine when it fails before or in exec
};

constexpr std::size_t kChildStackSize = 64 * 1024;
constexpr long kKernelSigsetBytes = (NSIG - 1) / 8;
// A kernel sigaction and sigset of zeros: SIG_DFL, no flags, empty mask.
constexpr unsigned long kZeros[8] = {};
// How long the supervisor waits for what MPlayer left behind to be gone.
constexpr int kOrphanRounds = 10;
constexpr long kOrphanRoundMs = 100;
// Kernel sigset bits, as the supervisor's signalfd takes them.
constexpr unsigned long Bit(int sig) { return 1UL << (sig - 1); }

// MPlayer's child routine: in the supervisor's memory on its own stack while
// the supervisor waits. Raw system calls only, no writes but `error`.
__attribute__((no_sanitize("address", "thread", "undefined"))) int EngineMain(void* arg) {
  auto* plan = static_cast<ChildPlan*>(arg);
  syscall(SYS_prctl, PR_SET_PDEATHSIG, SIGKILL, 0, 0, 0);
  // The supervisor may have died before prctl took effect.
  if (syscall(SYS_getppid) != plan->supervisor) return 127;
  // The group that is ended as a whole; what MPlayer forks stays in it.
  syscall(SYS_setpgid, 0, 0);

  // The host's handlers must not run in MPlayer, so every signal goes back
  // to its default before the mask (all blocked) is cleared. This also
  // undoes ignored signals, which exec would keep (a host ignoring SIGPIPE,
  // say). MPlayer touches no terminal from its background group: its input
  // and output are our pipes.
  for (int sig = 1; sig < NSIG; ++sig) {
    if (sig != SIGKILL && sig != SIGSTOP) syscall(SYS_rt_sigaction, sig, kZeros, nullptr, kKernelSigsetBytes);
  }
  syscall(SYS_rt_sigprocmask, SIG_SETMASK, kZeros, nullptr, kKernelSigsetBytes);

  if (syscall(SYS_fcntl, 0, F_GETFD) == -1) {
    syscall(SYS_openat, AT_FDCWD, "/dev/null", O_RDONLY);  // lands on the free fd 0
  } else {
    syscall(SYS_fcntl, 0, F_SETFD, 0);
  }
  long out = plan->outputFd;
  if (out <= 2) out = syscall(SYS_fcntl, plan->outputFd, F_DUPFD_CLOEXEC, 3);  // dup3 needs two different fds
  if (out < 0 || syscall(SYS_dup3, out, 1, 0) < 0 || syscall(SYS_dup3, out, 2, 0) < 0) {
    plan->error = errno;
    return 127;
  }
  // Nothing else leaks into MPlayer.
  syscall(SYS_close_range, 3, ~0U, CLOSE_RANGE_CLOEXEC);

  syscall(SYS_execve, plan->path, plan->argv, plan->envp);
  plan->error = errno;
  return 127;
}

// Closes every descriptor from 3 up except the two kept.
__attribute__((no_sanitize("address", "thread", "undefined"))) void CloseAllBut(int a, int b) {
  const int kept[2] = {a < b ? a : b, a < b ? b : a};
  unsigned from = 3;
  for (const int keep : kept) {
    if (keep < 0 || static_cast<unsigned>(keep) < from) continue;
    if (static_cast<unsigned>(keep) > from) syscall(SYS_close_range, from, static_cast<unsigned>(keep) - 1, 0);
    from = static_cast<unsigned>(keep) + 1;
  }
  syscall(SYS_close_range, from, ~0U, 0);
}

// The exit status a parent sees, as RunEngineChild reports it.
__attribute__((no_sanitize("address", "thread", "undefined"))) int StatusCode(const siginfo_t& info) {
  return info.si_code == CLD_EXITED ? info.si_status & 0xff : 128 + info.si_status;
}

// The supervisor: a copy of the host with all signals blocked. It leaves
// with MPlayer's exit status.
__attribute__((no_sanitize("address", "thread", "undefined"))) int SupervisorMain(void* arg) {
  auto* plan = static_cast<ChildPlan*>(arg);
  // Told when the host's runner thread ends, which it does only when the
  // host dies: it waits here until this process is gone.
  syscall(SYS_prctl, PR_SET_PDEATHSIG, SIGTERM, 0, 0, 0);
  if (syscall(SYS_getppid) != plan->host) syscall(SYS_exit_group, 127);
  // Processes MPlayer leaves when it ends come to us, not to init.
  syscall(SYS_prctl, PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0);
  // Told apart from the program it is a copy of in process lists.
  syscall(SYS_prctl, PR_SET_NAME, "kinovue-engine", 0, 0, 0);
  // Out of the host's group: a Ctrl+C in the host's terminal is the host's
  // to handle, and it ends the run in order.
  syscall(SYS_setpgid, 0, 0);
  // The host's files (its X connection, its locks, its pipes) are not held
  // open by this copy; the output pipe and the report pipe stay.
  CloseAllBut(plan->outputFd, plan->reportFd);
  const unsigned long wanted = Bit(SIGCHLD) | Bit(SIGTERM) | Bit(SIGINT) | Bit(SIGHUP);
  const long signals = syscall(SYS_signalfd4, -1, &wanted, sizeof wanted, SFD_CLOEXEC);

  plan->supervisor = static_cast<pid_t>(syscall(SYS_getpid));
  plan->error = 0;
  long engine = -1;
  if (signals < 0) {
    plan->error = errno;
  } else {
    // Returns once MPlayer has called exec or given up.
    engine = plan->clone(EngineMain, plan->engineStack, CLONE_VM | CLONE_VFORK | SIGCHLD, plan);
    if (engine < 0) plan->error = errno;
  }
  syscall(SYS_write, plan->reportFd, &plan->error, sizeof plan->error);
  syscall(SYS_close, plan->reportFd);
  if (engine < 0) syscall(SYS_exit_group, 127);

  siginfo_t info{};
  for (;;) {
    signalfd_siginfo got{};
    const long n = syscall(SYS_read, signals, &got, sizeof got);
    if (n < 0 && errno == EINTR) continue;
    if (n == static_cast<long>(sizeof got) && got.ssi_signo != SIGCHLD) {
      // Abort or the host's death: the whole run goes at once.
      syscall(SYS_kill, -engine, SIGKILL);
      syscall(SYS_kill, engine, SIGKILL);  // in case it had not made its group yet
    }
    info.si_pid = 0;
    if (syscall(SYS_waitid, P_PID, engine, &info, WEXITED | WNOHANG | WNOWAIT, nullptr) == 0 && info.si_pid == engine)
      break;
    if (n <= 0) syscall(SYS_exit_group, 127);  // cannot wait for signals any more: MPlayer dies with us
  }
  // MPlayer is a zombie now, so its group cannot be anyone else's: whatever
  // it left in it goes too.
  syscall(SYS_kill, -engine, SIGKILL);
  syscall(SYS_waitid, P_PID, engine, &info, WEXITED, nullptr);
  const int status = StatusCode(info);
  // What MPlayer left behind became ours when it ended (we are its
  // subreaper): the run has ended once they are reaped too, or a while at
  // most has passed.
  for (int round = 0; round < kOrphanRounds;) {
    siginfo_t orphan{};
    if (syscall(SYS_waitid, P_ALL, 0, &orphan, WEXITED | WNOHANG, nullptr) != 0) break;  // none left
    if (orphan.si_pid != 0) continue;
    pollfd wait{static_cast<int>(signals), POLLIN, 0};
    const timespec tick{0, kOrphanRoundMs * 1000000L};
    if (syscall(SYS_ppoll, &wait, 1, &tick, nullptr, 0) == 1) {
      signalfd_siginfo got{};
      syscall(SYS_read, signals, &got, sizeof got);
    } else {
      ++round;
    }
  }
  syscall(SYS_exit_group, status);
  return 127;
}

// libc's own clone, past any sanitizer's wrapper: ThreadSanitizer takes a
// clone for a fork and would rewrite its bookkeeping, which the child shares.
CloneFunction LibcClone() {
  static const CloneFunction function = [] {
    CloneFunction found = &clone;
    if (void* libc = dlopen("libc.so.6", RTLD_LAZY | RTLD_NOLOAD)) {
      if (void* symbol = dlsym(libc, "clone")) found = reinterpret_cast<CloneFunction>(symbol);
      dlclose(libc);  // only drops the reference taken just now
    }
    return found;
  }();
  return function;
}

}  // namespace

pid_t StartEngineSupervisor(const char* path, char* const* argv, char* const* envp, int outputFd, int reportFd) {
  ChildPlan plan{getpid(), LibcClone(), path, argv, envp, outputFd, reportFd, nullptr, 0, 0};
  // One mapping, two stacks: the supervisor's, and MPlayer's start inside
  // the supervisor's copy of it.
  void* stacks = mmap(nullptr, 2 * kChildStackSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_STACK,
                      -1, 0);
  if (stacks == MAP_FAILED) return -1;
  plan.engineStack = static_cast<char*>(stacks) + 2 * kChildStackSize;
  sigset_t all, old;
  sigfillset(&all);
  pthread_sigmask(SIG_BLOCK, &all, &old);
  const pid_t child = plan.clone(SupervisorMain, static_cast<char*>(stacks) + kChildStackSize, SIGCHLD, &plan);
  const int error = errno;
  pthread_sigmask(SIG_SETMASK, &old, nullptr);
  munmap(stacks, 2 * kChildStackSize);  // the supervisor has its own copy
  errno = error;
  return child;
}
