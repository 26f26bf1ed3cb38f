#include "enginelib/engine_process.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <dlfcn.h>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <pthread.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "enginelib/engine_supervisor.h"

namespace {

// Guards the pid of the running child. The waiter clears it only while the
// child is still an unreaped zombie, so a signal sent under the lock can never
// reach a recycled pid.
struct RunSlot {
  std::mutex mutex;
  bool busy = false;            // a run is between start and reap
  bool abortRequested = false;  // abort came before the child existed
  pid_t pid = 0;
  timespec killedAt{};          // when the run was told to end; zero: not yet
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

// Asks the supervisor to end the whole run (it ends MPlayer's group with
// SIGKILL, then leaves itself) and notes when. Under the slot's lock.
void KillRun(pid_t supervisor) {
  kill(supervisor, SIGTERM);
  clock_gettime(CLOCK_MONOTONIC, &Slot().killedAt);
}

// The supervisor's report: 0 when MPlayer runs, else why it did not start.
int ReadStartReport(int fd) {
  int error = 0;
  ssize_t n;
  do {
    n = read(fd, &error, sizeof error);
  } while (n < 0 && errno == EINTR);
  return n == static_cast<ssize_t>(sizeof error) ? error : ECHILD;
}

// Waits until the child has exited but leaves it unreaped. False when it
// cannot be waited for (someone else reaps our children), or when the run
// was killed and still has not ended after kGiveUpAfterKillMs.
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

  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) {
    result.startError = errno;
    EndRun();
    return result;
  }
  const pid_t child =
      StartEngineSupervisor(argvPointers[0], argvPointers.data(), envPointers.data(), outputFd, report[1]);
  const int startError = errno;
  close(report[1]);
  if (child < 0) {
    close(report[0]);
    result.startError = startError;
    EndRun();
    return result;
  }
  {
    std::lock_guard lock(Slot().mutex);
    Slot().pid = child;
    if (Slot().abortRequested) KillRun(child);
  }
  result.startError = ReadStartReport(report[0]);
  close(report[0]);

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
    KillRun(Slot().pid);
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
