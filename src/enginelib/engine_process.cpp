#include "enginelib/engine_process.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <dlfcn.h>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// Guards the pid of the running child. The waiter clears it only while the
// child is still an unreaped zombie, so a signal sent under the lock can never
// reach a recycled pid.
struct RunSlot {
  std::mutex mutex;
  bool busy = false;            // a run is between start and reap
  bool abortRequested = false;  // abort came before the child existed
  pid_t pid = 0;
  timespec killedAt{};          // when the run's child was sent SIGKILL; zero: not yet
};

// A killed child that has still not ended after this is stuck in the kernel
// (uninterruptible I/O on a dead drive): the run ends without it.
constexpr long kGiveUpAfterKillMs = 500;
// How often the wait looks again while the child runs, and while a child
// that has ended cannot be reaped yet.
constexpr int kWaitSliceMs = 100;
constexpr int kRecheckMs = 20;

RunSlot& Slot() {
  static RunSlot slot;
  return slot;
}

// The child is started the way posix_spawn starts its children: clone with
// CLONE_VM | CLONE_VFORK, so nothing of the host's memory is copied (fork of
// a few hundred MB costs milliseconds plus copy-on-write faults afterwards)
// and this thread sleeps until the exec. posix_spawn itself cannot set the
// parent-death signal, hence our own child routine.
struct ChildPlan {
  pid_t parent;
  const char* path;
  char* const* argv;
  char* const* envp;
  int outputFd;
  int error;  // set by the child when it fails before or in exec
};

constexpr std::size_t kChildStackSize = 64 * 1024;
constexpr long kKernelSigsetBytes = (NSIG - 1) / 8;
// A kernel sigaction and sigset of zeros: SIG_DFL, no flags, empty mask.
constexpr unsigned long kZeros[8] = {};

// Runs in the host's memory on its own stack while the parent thread waits,
// and other host threads go on. So: raw system calls only (no locks, no
// allocation, no sanitizer or libc bookkeeping), and no writes but `error`.
__attribute__((no_sanitize("address", "thread", "undefined"))) int ChildMain(void* arg) {
  auto* plan = static_cast<ChildPlan*>(arg);
  syscall(SYS_prctl, PR_SET_PDEATHSIG, SIGKILL, 0, 0, 0);
  // The parent may have died before prctl took effect.
  if (syscall(SYS_getppid) != plan->parent) return 127;

  // The host's handlers must not run here, in its memory, so every signal
  // goes back to its default before the mask (all blocked by the parent) is
  // cleared. This also undoes ignored signals, which exec would keep (a host
  // ignoring SIGPIPE, say).
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
  // Nothing else of the host's leaks into MPlayer.
  syscall(SYS_close_range, 3, ~0U, CLOSE_RANGE_CLOEXEC);

  syscall(SYS_execve, plan->path, plan->argv, plan->envp);
  plan->error = errno;
  return 127;
}

using CloneFunction = int (*)(int (*)(void*), void*, int, void*, ...);

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

// Starts the child; -1 with errno on failure. plan.error tells whether the
// exec failed after the child was created.
pid_t StartChild(ChildPlan& plan) {
  void* stack = mmap(nullptr, kChildStackSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_STACK, -1, 0);
  if (stack == MAP_FAILED) return -1;
  sigset_t all, old;
  sigfillset(&all);
  pthread_sigmask(SIG_BLOCK, &all, &old);
  const pid_t child =
      LibcClone()(ChildMain, static_cast<char*>(stack) + kChildStackSize, CLONE_VM | CLONE_VFORK | SIGCHLD, &plan);
  const int error = errno;
  pthread_sigmask(SIG_SETMASK, &old, nullptr);
  munmap(stack, kChildStackSize);
  errno = error;
  return child;
}

long MillisecondsSince(const timespec& then) {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return (now.tv_sec - then.tv_sec) * 1000 + (now.tv_nsec - then.tv_nsec) / 1000000;
}

bool Killed() { return Slot().killedAt.tv_sec != 0 || Slot().killedAt.tv_nsec != 0; }  // under the lock

bool KillGivenUp() {
  std::lock_guard lock(Slot().mutex);
  return Killed() && MillisecondsSince(Slot().killedAt) >= kGiveUpAfterKillMs;
}

void KillChild(pid_t pid) {  // under the slot's lock
  kill(pid, SIGKILL);
  clock_gettime(CLOCK_MONOTONIC, &Slot().killedAt);
}

// Waits until the child has exited but leaves it unreaped. False when it
// cannot be waited for (someone else reaps our children), or when it was
// killed and still has not ended after kGiveUpAfterKillMs.
bool WaitForExit(pid_t pid) {
  const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
  bool exited = false;
  for (;;) {
    siginfo_t info{};
    if (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT | WNOHANG) == -1) {
      if (errno == EINTR) continue;
      break;
    }
    if (info.si_pid == pid) {
      exited = true;
      break;
    }
    if (KillGivenUp()) break;
    // The descriptor turns readable when the child ends; one that ended but
    // is not ours to reap yet (a tracer holds it) is looked at again shortly.
    pollfd ended{pidfd, POLLIN, 0};
    if (pidfd < 0 || poll(&ended, 1, kWaitSliceMs) > 0) {
      const timespec pause{0, kRecheckMs * 1000000L};
      nanosleep(&pause, nullptr);
    }
  }
  if (pidfd >= 0) close(pidfd);
  return exited;
}

int Reap(pid_t pid) {
  int status = 0;
  pid_t got;
  do {
    got = waitpid(pid, &status, 0);
  } while (got == -1 && errno == EINTR);
  if (got != pid) return -1;
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

std::vector<char*> PointerArray(const std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  pointers.reserve(strings.size() + 1);
  for (const auto& s : strings) pointers.push_back(const_cast<char*>(s.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

void EndRun() {
  std::lock_guard lock(Slot().mutex);
  Slot().pid = 0;
  Slot().busy = false;
  Slot().killedAt = timespec{};
}

// A killed child the run did not wait out is reaped whenever it ends, by a
// thread of its own. The library stays loaded for that thread's sake.
void LeaveToReaper(pid_t pid) {
  Dl_info self{};
  if (dladdr(reinterpret_cast<void*>(&LeaveToReaper), &self) && self.dli_fname)
    dlopen(self.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
  std::thread([pid] { Reap(pid); }).detach();
}

}  // namespace

EngineChildResult RunEngineChild(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                                 int outputFd) {
  EngineChildResult result;
  if (argv.empty()) {
    result.startError = EINVAL;
    return result;
  }
  // Built before the child exists, as it may not allocate, and before the
  // slot is taken, so a failed allocation cannot leave it taken.
  const auto argvPointers = PointerArray(argv);
  const auto envPointers = PointerArray(env);
  {
    std::lock_guard lock(Slot().mutex);
    if (Slot().busy) {
      result.startError = EBUSY;
      return result;
    }
    Slot().busy = true;
    Slot().abortRequested = false;
    Slot().pid = 0;
    Slot().killedAt = timespec{};
  }

  ChildPlan plan{getpid(), argvPointers[0], argvPointers.data(), envPointers.data(), outputFd, 0};

  // Returns once the child has called exec or given up.
  const pid_t child = StartChild(plan);
  if (child < 0) {
    result.startError = errno;
    EndRun();
    return result;
  }
  result.startError = plan.error;
  {
    std::lock_guard lock(Slot().mutex);
    Slot().pid = child;
    if (Slot().abortRequested) KillChild(child);
  }

  const bool exited = WaitForExit(child);
  bool givenUp = false;
  {
    std::lock_guard lock(Slot().mutex);
    Slot().pid = 0;
    givenUp = !exited && Killed();
  }
  // Killed, it ends as soon as the kernel lets it: the run does not wait.
  if (givenUp) LeaveToReaper(child);
  const int status = exited ? Reap(child) : givenUp ? 128 + SIGKILL : -1;
  EndRun();
  if (result.startError == 0) result.status = status;
  return result;
}

void AbortEngineChild() {
  std::lock_guard lock(Slot().mutex);
  if (!Slot().busy) return;
  if (Slot().pid > 0) {
    KillChild(Slot().pid);
  } else {
    Slot().abortRequested = true;
  }
}

std::size_t DrainStandardInput() {
  constexpr std::size_t kLimit = 1 << 20;
  char buffer[4096];
  std::size_t total = 0;
  while (total < kLimit) {
    pollfd in{0, POLLIN, 0};
    if (poll(&in, 1, 0) != 1 || !(in.revents & POLLIN)) break;
    const ssize_t n = read(0, buffer, sizeof buffer);
    if (n <= 0) break;
    total += static_cast<std::size_t>(n);
  }
  return total;
}

bool WriteWithoutSigpipe(int fd, std::string_view text) {
  // Block SIGPIPE for this thread; if the write raises it, take it back out
  // of the pending set unless it was already pending for someone else.
  sigset_t pipeOnly, old, pending;
  sigemptyset(&pipeOnly);
  sigaddset(&pipeOnly, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipeOnly, &old);
  sigpending(&pending);
  const bool wasPending = sigismember(&pending, SIGPIPE) == 1;

  bool ok = true;
  while (!text.empty()) {
    const ssize_t n = write(fd, text.data(), text.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      if (errno == EPIPE && !wasPending) {
        const timespec zero{0, 0};
        while (sigtimedwait(&pipeOnly, nullptr, &zero) == -1 && errno == EINTR) {
        }
      }
      break;
    }
    text.remove_prefix(static_cast<std::size_t>(n));
  }
  pthread_sigmask(SIG_SETMASK, &old, nullptr);
  return ok;
}
