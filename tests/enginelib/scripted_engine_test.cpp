// The scripted engine library is test tooling for the engine host; these
// cases guard the parts of its interface that host tests lean on.

#include <gtest/gtest.h>

#include <cstdlib>

#include "engine_harness.h"
#include "temp_dir.h"

using namespace enginetest;
using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace {

class ScriptedEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(library_.Loaded()) << library_.Error();
    setenv("KINOVUE_ENGINE_SCRIPT", dir_.File("script").c_str(), 1);
    setenv("KINOVUE_ENGINE_RECORD", dir_.File("record").c_str(), 1);
  }

  std::string Record() const { return ReadFileBytes(dir_.File("record")); }

  bool WaitForRecord(const std::string& needle) const {
    const auto until = Clock::now() + 2s;
    while (Record().find(needle) == std::string::npos) {
      if (Clock::now() > until) return false;
      std::this_thread::sleep_for(5ms);
    }
    return true;
  }

  TempDir dir_;
  EngineLibrary library_{KINOVUE_SCRIPTED_ENGINE};
  CommandPipe commands_;
  OutputPipe output_;
};

TEST_F(ScriptedEngineTest, PlaysScriptAndRecordsArgumentsAndCommands) {
  WriteFileBytes(dir_.File("script"),
                 "# comment\n\nline ID_LENGTH=3.00\r\nwait pause\nbytes A:\\x201.0\\r\\\\\nsplit 3\nline VO: [x]\n"
                 "hold\nline never\n");
  EngineCall call(library_, {"kinovue.exe", "-slave", "my clip.avi"}, output_.WriteFd());
  ASSERT_TRUE(output_.WaitFor("ID_LENGTH=3.00\n", 2s));
  commands_.Send("volume 5 1\npause\n");
  ASSERT_TRUE(output_.WaitFor("VO: [x]\n", 2s));
  EXPECT_FALSE(call.Done()) << "hold keeps the run going";
  commands_.Send("quit\nseek 1 2\npartial");
  ASSERT_TRUE(call.WaitDone(1s));

  EXPECT_EQ(output_.Text(), "ID_LENGTH=3.00\nA: 1.0\r\\VO: [x]\n");
  const auto chunks = output_.Chunks();
  ASSERT_GE(chunks.size(), 2u);
  EXPECT_EQ(chunks.back(), " [x]\n") << "split writes arrive as two reads";
  EXPECT_TRUE(chunks[chunks.size() - 2].ends_with("VO:"));
  EXPECT_EQ(Record(),
            "arg kinovue.exe\narg -slave\narg my clip.avi\nrun\ncmd volume 5 1\ncmd pause\ncmd quit\ncmd seek 1 2\n"
            "end\n");
}

TEST_F(ScriptedEngineTest, DeafRunIgnoresQuitButAbortEndsIt) {
  WriteFileBytes(dir_.File("script"), "deaf\nhold\n");
  EngineCall call(library_, {"kinovue.exe", "x"}, output_.WriteFd());
  commands_.Send("quit\n");
  ASSERT_TRUE(WaitForRecord("cmd quit\n"));
  EXPECT_FALSE(call.WaitDone(200ms));
  const auto abortAt = Clock::now();
  library_.Abort();
  ASSERT_TRUE(call.WaitDone(1s));
  EXPECT_LT(call.DoneAt() - abortAt, 250ms);
  EXPECT_TRUE(WaitForRecord("end\n"));
}

}  // namespace
