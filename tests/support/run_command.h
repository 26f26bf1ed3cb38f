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
// the child's descriptor childFd is the caller's parentFd. -1 on failure.
int SpawnCommand(const std::vector<std::string>& argv, int parentFd, int childFd, const std::string& errorFile);

}  // namespace testsupport
