#include "mainwindow/instance_hand_over.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "core_app.h"
#include "platform/hand_over.h"
#include "temp_dir.h"

namespace {

using testsupport::PumpUntil;

constexpr platform::WindowHandle kRunning = 0x5A00007;

class InstanceHandOver : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::CoreApp();
    settings_.SetPath(temp_.File("kinovue.ini"));
    instance::WriteRunningHandle(settings_, kRunning);
  }

  // What the running instance's window receives when a second instance
  // starts with commandLine; whether the second instance saw it handled.
  bool SecondInstance(const std::string& commandLine) {
    std::atomic<bool> done = false;
    bool handled = false;
    std::thread second([&] {
      handled = instance::HandOverToRunningInstance(commandLine, settings_, temp_.Path());
      done = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return done.load(); }, 10000));
    second.join();
    return handled;
  }

  testsupport::TempDir temp_;
  IniFile settings_;
  std::vector<std::string> opened_;
};

TEST_F(InstanceHandOver, TheRunningWindowGetsTheBarePath) {
  platform::HandOverServer server(kRunning, [this](const std::string& bytes) {
    if (auto path = instance::HandedOverPath(bytes)) opened_.push_back(*path);
  }, temp_.Path());
  ASSERT_TRUE(server.IsListening());
  EXPECT_TRUE(SecondInstance("\"/m/My Movie.avi\""));
  EXPECT_TRUE(SecondInstance("/m/My Movie.avi"));  // unquoted: whole, not cut
  EXPECT_TRUE(SecondInstance("abc"));
  EXPECT_EQ(opened_, (std::vector<std::string>{"/m/My Movie.avi", "/m/My Movie.avi", "abc"}));

  // Nothing to hand over: no argument, 1 or 2 characters.
  for (const char* text : {"", "a", "ab", "\"\""}) EXPECT_FALSE(SecondInstance(text)) << text;
  EXPECT_EQ(opened_.size(), 3u);
}

TEST_F(InstanceHandOver, NoOrAGoneRunningWindowEndsTheSecondInstanceQuietly) {
  EXPECT_FALSE(SecondInstance("/m/a.avi"));  // stored handle, nobody listening
  instance::WriteRunningHandle(settings_, 0);
  EXPECT_FALSE(SecondInstance("/m/a.avi"));
}

TEST_F(InstanceHandOver, RunningHandleIsAPlainDecimalOfAll64Bits) {
  ASSERT_TRUE(instance::WriteRunningHandle(settings_, 18446744073709551615u));
  EXPECT_EQ(instance::ReadRunningHandle(settings_), 18446744073709551615u);
  for (const char* bad : {"18446744073709551616", "-5", "12abc", "0x10"}) {
    settings_.WriteString("kinovue", "RunningHandle", bad);
    EXPECT_EQ(instance::ReadRunningHandle(settings_), 0u) << bad;
  }
}

TEST(HandedOverPath, IsThePathBeforeTheZeroByte) {
  EXPECT_EQ(instance::HandedOverPath(std::string("/m/a\0junk", 9)), "/m/a");
  EXPECT_EQ(instance::HandedOverPath("/m/no-zero"), "/m/no-zero");
  EXPECT_EQ(instance::HandedOverPath(std::string("\0", 1)), std::nullopt);  // cbData 1 carries no path
}

TEST(InstanceCommandLine, OnlyRealSurroundingQuotesAreRemoved) {
  EXPECT_EQ(instance::StripSurroundingQuotes("\"/m/a b.avi\""), "/m/a b.avi");
  EXPECT_EQ(instance::StripSurroundingQuotes("/m/a b.avi"), "/m/a b.avi");
  EXPECT_EQ(instance::StripSurroundingQuotes("\"/m/a.avi"), "/m/a.avi");
  EXPECT_EQ(instance::StripSurroundingQuotes("/m/a.avi\""), "/m/a.avi");
  EXPECT_EQ(instance::StripSurroundingQuotes("\"\"x\"\""), "\"x\"");  // one of each, no more
  EXPECT_EQ(instance::StripSurroundingQuotes("\""), "");
  EXPECT_EQ(instance::StripSurroundingQuotes("\"\""), "");
  EXPECT_EQ(instance::StripSurroundingQuotes(""), "");
}

}  // namespace
