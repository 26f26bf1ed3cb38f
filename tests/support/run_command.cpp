#include "run_command.h"

#include "temp_dir.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <thread>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace testsupport {

namespace {

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

// This process's environment with entries ("NAME=value") put in or replaced.
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& entries) {
  std::vector<std::string> result;
  auto replaced = [&](const char* current) {
    for (const std::string& entry : entries) {
      const std::size_t nameEnd = entry.find('=') + 1;
      if (std::strncmp(current, entry.c_str(), nameEnd) == 0) return true;
    }
    return false;
  };
  for (char** e = environ; *e; ++e)
    if (!replaced(*e)) result.emplace_back(*e);
  result.insert(result.end(), entries.begin(), entries.end());
  return result;
}

pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
            posix_spawn_file_actions_t& actions) {
  std::vector<std::string> args = argv;
  std::vector<std::string> env = EnvironmentWith(environment);
  std::vector<char*> argp = Pointers(args);
  std::vector<char*> envp = Pointers(env);
  pid_t pid = -1;
  if (posix_spawnp(&pid, argp[0], &actions, nullptr, argp.data(), envp.data()) != 0) return -1;
  return pid;
}

}  // namespace

CommandResult RunCommand(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                         int timeoutMs) {
  RunningCommand command(argv, environment);
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    if (!command.Running() || left.count() <= 0) break;
    command.WaitForOutput(static_cast<int>(left.count()) + 1);
  }
  command.Kill();  // out of time; nothing to do when it has ended
  return {command.ExitCode(), command.Output()};
}

int SpawnCommand(const std::vector<std::string>& argv, int parentFd, int childFd, const std::string& errorFile,
                 const std::vector<std::string>& environment) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, errorFile.empty() ? "/dev/null" : errorFile.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_adddup2(&actions, parentFd, childFd);
  std::vector<std::string> watched{"setpriv", "--pdeathsig", "KILL", "--"};
  watched.insert(watched.end(), argv.begin(), argv.end());
  const pid_t pid = argv.empty() ? -1 : Spawn(watched, environment, actions);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

RunningCommand::RunningCommand(const std::vector<std::string>& argv, const std::vector<std::string>& environment) {
  int out[2];
  if (pipe2(out, O_CLOEXEC | O_NONBLOCK) != 0) return;
  pid_ = SpawnCommand(argv, out[1], 1, "", environment);
  close(out[1]);
  output_fd_ = out[0];
}

RunningCommand::~RunningCommand() {
  Kill();
  if (output_fd_ >= 0) close(output_fd_);
}

const std::string& RunningCommand::Output() {
  char buffer[4096];
  while (output_fd_ >= 0) {
    const ssize_t got = read(output_fd_, buffer, sizeof buffer);
    if (got > 0) {
      output_.append(buffer, static_cast<std::size_t>(got));
    } else if (got == 0) {  // every writer has gone
      close(output_fd_);
      output_fd_ = -1;
    } else if (errno != EINTR) {
      break;  // nothing more for now
    }
  }
  return output_;
}

void RunningCommand::WaitForOutput(int timeoutMs) {
  if (output_fd_ < 0) {  // the output has ended: only the command's end is left
    std::this_thread::sleep_for(std::chrono::milliseconds(std::min(timeoutMs, 1)));
    return;
  }
  pollfd p{output_fd_, POLLIN, 0};
  if (poll(&p, 1, timeoutMs) > 0) Output();
}

bool RunningCommand::Running() {
  if (pid_ <= 0) return false;
  int status = 0;
  const pid_t ended = waitpid(pid_, &status, WNOHANG);
  if (ended == 0) return true;
  if (ended == pid_ && WIFEXITED(status)) exitCode_ = WEXITSTATUS(status);
  pid_ = -1;
  return false;
}

void RunningCommand::Kill() {
  if (pid_ <= 0) return;
  kill(pid_, SIGKILL);
  while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
  }
  pid_ = -1;
}

std::vector<int> ProcessesMentioning(const std::string& marker) {
  std::vector<int> found;
  DIR* proc = opendir("/proc");
  if (!proc) return found;
  while (dirent* entry = readdir(proc)) {
    const int pid = std::atoi(entry->d_name);
    if (pid > 0 && ReadFileBytes("/proc/" + std::to_string(pid) + "/cmdline").find(marker) != std::string::npos)
      found.push_back(pid);
  }
  closedir(proc);
  return found;
}

}  // namespace testsupport
