// MPlayer must not outlive the process that hosts the engine library, even
// when that process is killed outright.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "run_command.h"
#include "temp_dir.h"
#include "test_media.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::string ReadProcFile(const std::string& path) { return testsupport::ReadFileBytes(path); }

pid_t ParentOf(pid_t pid) {
  const std::string stat = ReadProcFile("/proc/" + std::to_string(pid) + "/stat");
  const auto close = stat.rfind(')');  // the name may hold spaces and parentheses
  if (close == std::string::npos) return -1;
  char state = 0;
  int parent = -1;
  return std::sscanf(stat.c_str() + close + 1, " %c %d", &state, &parent) == 2 ? parent : -1;
}

// Reads `fd` until `needle` shows up or the time is over.
bool ReadUntil(int fd, const std::string& needle, std::chrono::milliseconds timeout, std::string& text) {
  const auto until = Clock::now() + timeout;
  char buffer[4096];
  while (text.find(needle) == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
    if (left <= 0) return false;
    pollfd in{fd, POLLIN, 0};
    if (poll(&in, 1, static_cast<int>(left)) != 1) continue;
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0) return false;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  return true;
}

TEST(EngineLifetime, MplayerDiesWhenItsHostIsKilled) {
  const std::string clip = testsupport::VideoClip();
  ASSERT_FALSE(clip.empty());
  testsupport::TempDir dir;
  // A name no other process mentions, to find our MPlayer by.
  const std::string marker = dir.File("kill-marker-" + std::to_string(getpid()) + ".avi");
  ASSERT_EQ(symlink(clip.c_str(), marker.c_str()), 0);

  unsetenv("DISPLAY");
  int commands[2], output[2];
  ASSERT_EQ(pipe2(commands, O_CLOEXEC), 0);
  ASSERT_EQ(pipe2(output, O_CLOEXEC), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, commands[0], 0);
  posix_spawn_file_actions_adddup2(&actions, output[1], 1);
  const std::string library = KINOVUE_ENGINE_LIBRARY;
  std::vector<std::string> args{KINOVUE_ENGINE_CALL, library, "-slave", "-vo", "directx", "-ao", "dsound",
                                "-loop", "0", marker};
  std::vector<char*> argv;
  for (auto& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t host = -1;
  ASSERT_EQ(posix_spawn(&host, argv[0], &actions, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  close(commands[0]);
  close(output[1]);

  std::string text;
  const bool playing = ReadUntil(output[0], "VO: [", 10s, text);
  pid_t engine = -1;
  for (pid_t pid : testsupport::ProcessesMentioning(marker)) {
    if (ParentOf(pid) == host) engine = pid;
  }
  kill(host, SIGKILL);
  int status = 0;
  waitpid(host, &status, 0);
  ASSERT_TRUE(playing) << text;
  ASSERT_GT(engine, 0) << "no MPlayer child of the host found";

  const auto until = Clock::now() + 2s;
  while (!testsupport::ProcessesMentioning(marker).empty() && Clock::now() < until) std::this_thread::sleep_for(20ms);
  const auto survivors = testsupport::ProcessesMentioning(marker);
  EXPECT_TRUE(survivors.empty()) << "MPlayer outlived its killed host";
  for (pid_t pid : survivors) kill(pid, SIGKILL);
  close(commands[1]);
  close(output[0]);
}

}  // namespace
