// libmplayer.so from the program folder, driven like the host drives it, with
// the real MPlayer (headless: null video output).

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "engine_harness.h"
#include "temp_dir.h"
#include "test_media.h"

using namespace enginetest;
using testsupport::TempDir;

namespace {

// A status line ("A: ... V: ..." at the start of a line) ended by a bare CR,
// the way MPlayer rewrites it in place.
bool HasCrEndedStatusLine(const std::string& text) {
  for (std::size_t at = text.find("A:"); at != std::string::npos; at = text.find("A:", at + 1)) {
    if (at > 0 && text[at - 1] != '\r' && text[at - 1] != '\n') continue;
    const auto end = text.find_first_of("\r\n", at);
    if (end == std::string::npos || text[end] != '\r' || end + 1 == text.size() || text[end + 1] == '\n') continue;
    if (text.substr(at, end - at).find(" V:") != std::string::npos) return true;
  }
  return false;
}

class EngineLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("DISPLAY");
    unsetenv("KINOVUE_MPLAYER");
    clip_ = testsupport::VideoClip();
    ASSERT_FALSE(clip_.empty()) << "ffmpeg could not make the test clip";
    ASSERT_TRUE(library_.Loaded()) << library_.Error();
  }

  // A stand-in for MPlayer: a shell script in the temp folder.
  std::string FakeEngine(const std::string& body) {
    const std::string path = dir_.File("fake-mplayer");
    testsupport::WriteFileBytes(path, "#!/bin/sh\n" + body);
    chmod(path.c_str(), 0755);
    setenv("KINOVUE_MPLAYER", path.c_str(), 1);
    return path;
  }

  TempDir dir_;
  std::string clip_;
  EngineLibrary library_{KINOVUE_ENGINE_LIBRARY};
  CommandPipe commands_;
  OutputPipe output_;
};

TEST_F(EngineLibraryTest, PlaysHeadlessObeysSlaveCommandsAndReturnsSoonAfterQuit) {
  EngineCall call(library_, HostArgs(clip_, {"-loop", "0"}), output_.WriteFd());
  ASSERT_TRUE(output_.WaitFor("VO: [", 10s)) << output_.Text();
  commands_.Send("pause\n");
  EXPECT_TRUE(output_.WaitFor("ID_PAUSED", 2s));
  std::this_thread::sleep_for(200ms);
  commands_.Send("pause\n");
  std::this_thread::sleep_for(200ms);
  EXPECT_FALSE(call.Done()) << "the run must not end before quit (-loop 0)";

  commands_.Send("quit\n");
  const auto quitAt = Clock::now();
  ASSERT_TRUE(call.WaitDone(5s));
  EXPECT_LT(call.DoneAt() - quitAt, 1s);

  const std::string text = output_.Text();
  EXPECT_NE(text.find("ID_LENGTH="), std::string::npos);
  EXPECT_NE(text.find("VO: [null]"), std::string::npos) << "headless runs use the null video output";
  EXPECT_NE(text.find("ID_EXIT=QUIT"), std::string::npos);
  // Status lines are overwritten in place: ended by CR, not LF.
  EXPECT_TRUE(HasCrEndedStatusLine(text));
}

TEST_F(EngineLibraryTest, MediumWhoseNameBeginsWithDashIsPlayedNotParsed) {
  ASSERT_EQ(symlink(clip_.c_str(), dir_.File("-clip.avi").c_str()), 0);
  const int savedCwd = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_EQ(chdir(dir_.Path().c_str()), 0);
  {
    EngineCall call(library_, HostArgs("-clip.avi"), output_.WriteFd());
    EXPECT_TRUE(output_.WaitFor("ID_LENGTH=", 10s)) << output_.Text();
    commands_.Send("quit\n");
    EXPECT_TRUE(call.WaitDone(5s));
  }
  EXPECT_EQ(fchdir(savedCwd), 0);
  close(savedCwd);
  EXPECT_EQ(output_.Text().find("Error parsing option"), std::string::npos);
}

TEST_F(EngineLibraryTest, ProgramThatCannotStartGivesOneClearLineAtOnce) {
  const std::string notExecutable = dir_.File("plain-file");
  testsupport::WriteFileBytes(notExecutable, "not a program");
  const struct {
    std::string binary;
    std::string reason;
  } cases[] = {{"/nonexistent/mplayer", "No such file or directory"}, {notExecutable, "Permission denied"}};
  for (const auto& c : cases) {
    OutputPipe output;
    setenv("KINOVUE_MPLAYER", c.binary.c_str(), 1);
    const auto start = Clock::now();
    EngineCall call(library_, HostArgs(clip_), output.WriteFd());
    ASSERT_TRUE(call.WaitDone(1s)) << c.binary;
    EXPECT_LT(call.DoneAt() - start, 500ms);
    const std::string expected = "kinovue engine: cannot start " + c.binary + ": " + c.reason + "\n";
    EXPECT_TRUE(output.WaitFor(expected, 1s)) << output.Text();
    EXPECT_EQ(output.Text(), expected);
  }
}

TEST_F(EngineLibraryTest, ChildGetsTranslatedArgumentsEnglishLocaleOurPipesAndDefaultSignals) {
  setenv("LC_ALL", "de_DE.UTF-8", 1);
  // A host that ignores SIGPIPE and blocks a signal on its threads (the call's
  // thread inherits the mask): MPlayer must get neither.
  signal(SIGPIPE, SIG_IGN);
  sigset_t usr1;
  sigemptyset(&usr1);
  sigaddset(&usr1, SIGUSR1);
  pthread_sigmask(SIG_BLOCK, &usr1, nullptr);
  const std::string fake = FakeEngine(
      "for a in \"$@\"; do printf 'arg<%s>\\n' \"$a\"; done\n"
      "printf 'env<%s|%s|%s>\\n' \"$LC_MESSAGES\" \"${LC_ALL-unset}\" \"$LC_CTYPE\"\n"
      // Builtins only: while it forks, the shell blocks signals itself.
      "while read -r k v; do case $k in SigBlk:|SigIgn:) echo \"$k $v\";; esac; done </proc/$$/status\n"
      "read line; printf 'stdin<%s>\\n' \"$line\"\n"
      "echo 'on stderr' >&2\n");
  // Written before the call: the host sends a run's first commands right
  // after starting it, so nothing may be thrown away at the start.
  commands_.Send("first command\n");
  EngineCall call(library_, {"kinovue.exe", "-wid", "7", "-vo", "directx", "-priority", "high", "clip.avi"},
                  output_.WriteFd());
  ASSERT_TRUE(call.WaitDone(5s));
  unsetenv("LC_ALL");
  EXPECT_TRUE(output_.WaitFor("on stderr\n", 1s));
  EXPECT_EQ(output_.Text(), "arg<-nolirc>\narg<-vo>\narg<null>\narg<clip.avi>\nenv<C|unset|de_DE.UTF-8>\n"
                            "SigBlk: 0000000000000000\nSigIgn: 0000000000000000\n"
                            "stdin<first command>\non stderr\n");
}

TEST_F(EngineLibraryTest, CommandsLeftUnreadByAnEndedRunDoNotReachTheNextRun) {
  FakeEngine("sleep 0.4\n");  // ends by itself, never reads its input
  {
    EngineCall first(library_, HostArgs(clip_), output_.WriteFd());
    std::this_thread::sleep_for(100ms);
    commands_.Send("quit\n");
    ASSERT_TRUE(first.WaitDone(5s));
  }
  EXPECT_FALSE(commands_.HasUnread());

  unsetenv("KINOVUE_MPLAYER");
  EngineCall second(library_, HostArgs(clip_, {"-loop", "0"}), output_.WriteFd());
  ASSERT_TRUE(output_.WaitFor("VO: [", 10s)) << output_.Text();
  std::this_thread::sleep_for(300ms);
  EXPECT_FALSE(second.Done());
  commands_.Send("quit\n");
  EXPECT_TRUE(second.WaitDone(5s));
}

TEST_F(EngineLibraryTest, AbortEndsTheRunPromptlyAndIsHarmlessWithoutOne) {
  library_.Abort();  // nothing running: must not affect the next run
  EngineCall call(library_, HostArgs(clip_, {"-loop", "0"}), output_.WriteFd());
  ASSERT_TRUE(output_.WaitFor("VO: [", 10s)) << output_.Text();
  std::this_thread::sleep_for(200ms);
  ASSERT_FALSE(call.Done());
  const auto abortAt = Clock::now();
  library_.Abort();
  ASSERT_TRUE(call.WaitDone(2s));
  EXPECT_LT(call.DoneAt() - abortAt, 300ms);
  library_.Abort();  // after the run: nothing to do, nothing to break
}

// MPlayer stuck in the kernel (a dead optical drive) does not end on SIGKILL
// until its I/O returns; the run ends without it, and the next one starts.
TEST_F(EngineLibraryTest, AnAbortedRunDoesNotWaitForAChildTheKernelHolds) {
  setenv("KINOVUE_MPLAYER", KINOVUE_UNREAPABLE_ENGINE, 1);
  EngineCall stuck(library_, HostArgs(clip_), output_.WriteFd());
  if (!output_.WaitFor("traced\n", 5s)) GTEST_SKIP() << "no child can be held here: " << output_.Text();
  library_.Abort();
  // The tracer holds the child for eight seconds.
  ASSERT_TRUE(stuck.WaitDone(3s)) << "the run waited for a child that cannot be reaped";

  FakeEngine("echo next run\n");
  OutputPipe next;
  EngineCall again(library_, HostArgs(clip_), next.WriteFd());
  EXPECT_TRUE(next.WaitFor("next run", 5s)) << next.Text();
  EXPECT_TRUE(again.WaitDone(5s));
}

TEST_F(EngineLibraryTest, SecondRunWhileOneIsInProgressIsRefused) {
  FakeEngine("exec sleep 5\n");
  EngineCall first(library_, HostArgs(clip_), output_.WriteFd());
  std::this_thread::sleep_for(100ms);
  OutputPipe secondOutput;
  commands_.Send("meant for the first run\n");
  EngineCall second(library_, HostArgs(clip_), secondOutput.WriteFd());
  ASSERT_TRUE(second.WaitDone(1s));
  EXPECT_TRUE(secondOutput.WaitFor("kinovue engine: another run is still in progress\n", 1s)) << secondOutput.Text();
  EXPECT_TRUE(commands_.HasUnread()) << "the refused call must not drain the running one's commands";
  EXPECT_FALSE(first.Done());
}

TEST_F(EngineLibraryTest, BadCallsReturnAtOnceWithoutCrashing) {
  char name[] = "kinovue.exe";
  char* onlyName[] = {name};
  EXPECT_EQ(library_.Run(1, onlyName, output_.WriteFd()), -1);
  char* withNull[] = {name, nullptr, name};
  EXPECT_EQ(library_.Run(3, withNull, output_.WriteFd()), -1);
  EXPECT_EQ(library_.Run(0, nullptr, output_.WriteFd()), -1);
  EXPECT_TRUE(output_.WaitFor("kinovue engine: argument 1 is missing\n", 1s));
  EXPECT_NE(output_.Text().find("kinovue engine: no medium given\n"), std::string::npos);

  char medium[] = "clip.avi";
  char* good[] = {name, medium};
  EXPECT_EQ(library_.Run(2, good, -1), -1);
  // A reader that has gone away: the message write fails quietly, no SIGPIPE.
  int fds[2];
  ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
  close(fds[0]);
  EXPECT_EQ(library_.Run(1, onlyName, fds[1]), -1);
  close(fds[1]);
}

}  // namespace
