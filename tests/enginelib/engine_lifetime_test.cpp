// No engine process outlives its run or the process that hosts the engine
// library, even when that process is killed outright: neither MPlayer nor
// the cache process it forks for streams and "-cache".

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "core_app.h"
#include "engine_harness.h"
#include "loopback_server.h"
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

bool DescendsFrom(pid_t pid, pid_t ancestor) {
  for (int depth = 0; pid > 1 && depth < 8; ++depth) {
    pid = ParentOf(pid);
    if (pid == ancestor) return true;
  }
  return false;
}

// Waits until no process mentions marker, at most `within`; kills and
// returns what is left.
std::vector<pid_t> SurvivorsAfter(const std::string& marker, std::chrono::milliseconds within) {
  const auto until = Clock::now() + within;
  while (!testsupport::ProcessesMentioning(marker).empty() && Clock::now() < until) std::this_thread::sleep_for(20ms);
  const auto survivors = testsupport::ProcessesMentioning(marker);
  for (pid_t pid : survivors) kill(pid, SIGKILL);
  return survivors;
}

// A medium named with a marker no other process mentions: a local file, or
// the same file served over HTTP on loopback; with the cache (a forked
// process of MPlayer's) or without.
class EngineLifetime : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::CoreApp();
    unsetenv("DISPLAY");
    unsetenv("KINOVUE_MPLAYER");
    ASSERT_FALSE(testsupport::VideoClip().empty());
    ASSERT_EQ(symlink(testsupport::VideoClip().c_str(), dir.File(name).c_str()), 0);
  }
  struct Medium {
    const char* what;
    std::string name;
    std::vector<std::string> extra;
    std::size_t processes;  // MPlayer's, while it plays
  };
  std::vector<Medium> Media() const {
    const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/" + name;
    return {{"a local file", dir.File(name), {}, 1},
            {"a local file with the cache", dir.File(name), {"-cache", "2048"}, 2},
            {"an HTTP stream", url, {"-cache", "2048"}, 2}};
  }

  testsupport::TempDir dir;
  const std::string name = "kill-marker-" + std::to_string(getpid()) + ".avi";
  testsupport::LoopbackServer server{testsupport::LoopbackServer::Files(dir.Path())};
};

TEST_F(EngineLifetime, NothingOfARunOutlivesAKilledHost) {
  for (const Medium& medium : Media()) {
    SCOPED_TRACE(medium.what);
    // The host: a process of its own with our pipes as its fd 0 and 1.
    enginetest::CommandPipe commands;
    enginetest::OutputPipe output;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output.WriteFd(), 1);
    std::vector<std::string> args{KINOVUE_ENGINE_CALL, KINOVUE_ENGINE_LIBRARY, "-slave", "-vo", "directx", "-ao", "dsound",
                                  "-loop", "0"};
    args.insert(args.end(), medium.extra.begin(), medium.extra.end());
    args.push_back(medium.name);
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t host = -1;
    ASSERT_EQ(posix_spawn(&host, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);

    const bool playing = output.WaitFor("VO: [", 10s);
    std::size_t engines = 0;
    for (pid_t pid : testsupport::ProcessesMentioning(name)) {
      const bool mplayer = ReadProcFile("/proc/" + std::to_string(pid) + "/cmdline").starts_with("/usr/bin/mplayer");
      engines += mplayer && DescendsFrom(pid, host);
    }
    kill(host, SIGKILL);
    int status = 0;
    waitpid(host, &status, 0);
    EXPECT_TRUE(playing) << output.Text();
    EXPECT_EQ(engines, medium.processes) << "not the engine processes the test is about";
    EXPECT_TRUE(SurvivorsAfter(name, 1s).empty()) << "an engine process outlived its killed host";
  }
}

TEST_F(EngineLifetime, AStoppedOrAbortedRunLeavesNoProcess) {
  enginetest::EngineLibrary library(KINOVUE_ENGINE_LIBRARY);
  ASSERT_TRUE(library.Loaded()) << library.Error();
  for (const Medium& medium : Media()) {
    for (const bool abort : {false, true}) {
      SCOPED_TRACE(std::string(medium.what) + (abort ? ", aborted" : ", quit"));
      enginetest::CommandPipe commands;
      enginetest::OutputPipe output;
      enginetest::EngineCall call(library, enginetest::HostArgs(medium.name, medium.extra), output.WriteFd());
      ASSERT_TRUE(output.WaitFor("VO: [", 10s)) << output.Text();
      if (abort)
        library.Abort();
      else
        commands.Send("quit\n");
      ASSERT_TRUE(call.WaitDone(5s));
      EXPECT_TRUE(testsupport::ProcessesMentioning(name).empty()) << "a process of the run outlived it";
      SurvivorsAfter(name, 0ms);
    }
  }
}

}  // namespace
