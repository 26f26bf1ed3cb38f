#pragma once
#include <string>
#include <vector>

namespace testsupport {

struct CommandResult {
  int exitCode = -1;   // -1: did not start, ended by a signal or ran out of time
  std::string output;  // standard output; standard error is dropped
};

// Runs argv (the program is looked up in PATH) with the given "NAME=value"
// entries added to this process's environment, and waits at most timeoutMs;
// a command that takes longer is killed.
//
// Not QProcess: it starts its child in the caller's memory (vfork), where the
// race checker's record of the calling thread is shared with the child and
// can be left switched off; posix_spawn's child runs only C library code.
CommandResult RunCommand(const std::vector<std::string>& argv, const std::vector<std::string>& environment = {},
                         int timeoutMs = 10000);

// Starts argv as RunCommand does, without waiting: standard input and output
// go to /dev/null, standard error to errorFile (or /dev/null when empty), and
// the child's descriptor childFd is the caller's parentFd. The child is killed
// when the calling thread ends. -1 on failure.
int SpawnCommand(const std::vector<std::string>& argv, int parentFd, int childFd, const std::string& errorFile);

// A command left running while the caller goes on (with its event loop, say),
// started as SpawnCommand starts it; its standard output is collected as it
// comes. Killed and reaped when the object goes away.
class RunningCommand {
 public:
  explicit RunningCommand(const std::vector<std::string>& argv);
  ~RunningCommand();
  RunningCommand(const RunningCommand&) = delete;
  RunningCommand& operator=(const RunningCommand&) = delete;

  // Everything written so far; never waits.
  const std::string& Output();
  // False once the command has ended.
  bool Running();
  void Kill();

 private:
  int pid_ = -1;
  int output_fd_ = -1;
  std::string output_;
};

}  // namespace testsupport
