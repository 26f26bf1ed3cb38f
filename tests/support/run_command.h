#pragma once
#include <string>
#include <vector>

namespace testsupport {

// Commands for tests, started with posix_spawn. Not QProcess: it starts its
// child in the caller's memory (vfork), where the race checker's record of
// the calling thread is shared with the child and can be left switched off;
// posix_spawn's child runs only C library code.
//
// argv[0] is looked up in PATH; environment holds "NAME=value" entries added
// to this process's environment. Every child is killed when the thread that
// started it ends, even when no destructor runs (the race checker ends a
// process at its first report): no X server or bus daemon outlives a failed
// test.

struct CommandResult {
  int exitCode = -1;   // -1: did not start, ended by a signal or ran out of time
  std::string output;  // standard output; standard error is dropped
};

// Runs argv and waits at most timeoutMs; a command that takes longer is killed.
CommandResult RunCommand(const std::vector<std::string>& argv, const std::vector<std::string>& environment = {},
                         int timeoutMs = 10000);

// Starts argv without waiting: standard input and output go to /dev/null,
// standard error to errorFile (or /dev/null when empty), and the child's
// descriptor childFd is the caller's parentFd. -1 on failure.
int SpawnCommand(const std::vector<std::string>& argv, int parentFd, int childFd, const std::string& errorFile,
                 const std::vector<std::string>& environment = {});

// A command left running while the caller goes on (with its event loop, say);
// its standard output is collected as it comes. Killed and reaped when the
// object goes away.
class RunningCommand {
 public:
  explicit RunningCommand(const std::vector<std::string>& argv, const std::vector<std::string>& environment = {});
  ~RunningCommand();
  RunningCommand(const RunningCommand&) = delete;
  RunningCommand& operator=(const RunningCommand&) = delete;

  // Everything written so far; never waits.
  const std::string& Output();
  // Waits at most timeoutMs for more output or the command's end.
  void WaitForOutput(int timeoutMs);
  // False once the command has ended.
  bool Running();
  void Kill();
  // Its exit code once it has ended by itself; -1 otherwise.
  int ExitCode() const { return exitCode_; }

 private:
  int pid_ = -1;
  int output_fd_ = -1;
  int exitCode_ = -1;
  std::string output_;
};

// Live processes whose command line mentions marker; a zombie's command line
// reads empty, so dead ones do not count.
std::vector<int> ProcessesMentioning(const std::string& marker);

}  // namespace testsupport
