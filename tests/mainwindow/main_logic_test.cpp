#include <gtest/gtest.h>
#include <sys/stat.h>

#include <set>

#include "mainwindow/command_ids.h"
#include "mainwindow/key_mapping.h"
#include "mainwindow/main_settings.h"
#include "mainwindow/time_text.h"
#include "platform/key_state.h"
#include "temp_dir.h"

using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace {

constexpr const char* kAllKeys =
    "[kinovue]\nLastOpen=/m/a.avi\nVideoMutiple=1\nTopmost=1\nLockFaceProportion=1\nPlayListRandom=0\n"
    "RepeatCurrent=0\nPlayListLoop=1\nPlayListForward=1\nAutoPlayFromList=1\nPlayFromList=1\n"
    "CheckFileAssociate=1\nAutoUpdate=1\nRememberPlayPosition=1\n";

TEST(MainSettingsLoad, FirstStartWritesAllThirteenKeys) {
  TempDir dir;
  IniFile ini(dir.File("kinovue.ini"));
  MainSettings s;
  LoadMainSettings(ini, s);
  EXPECT_EQ(ReadFileBytes(dir.File("kinovue.ini")),
            "[kinovue]\nLastOpen=\nVideoMutiple=1\nTopmost=1\nLockFaceProportion=1\nPlayListRandom=0\n"
            "RepeatCurrent=0\nPlayListLoop=1\nPlayListForward=1\nAutoPlayFromList=1\nPlayFromList=1\n"
            "CheckFileAssociate=1\nAutoUpdate=1\nRememberPlayPosition=1\n");
}

TEST(MainSettingsLoad, MissingOrEmptyKeysTakeTheirDefaultsAndTheSectionIsWritten) {
  TempDir dir;
  std::string text = kAllKeys;
  text.erase(text.find("LockFaceProportion=1\n"), 21);
  text.replace(text.find("Topmost=1"), 9, "Topmost=");
  text.replace(text.find("PlayListLoop=1"), 14, "PlayListLoop=0");
  WriteFileBytes(dir.File("kinovue.ini"), text);
  IniFile ini(dir.File("kinovue.ini"));
  MainSettings s;
  LoadMainSettings(ini, s);
  EXPECT_FALSE(s.LockFaceProportion);  // a missing key means "0", unlike a first start
  EXPECT_TRUE(s.Topmost);
  EXPECT_FALSE(s.PlayListLoop);
  const std::string after = ReadFileBytes(dir.File("kinovue.ini"));
  EXPECT_NE(after.find("LockFaceProportion=0"), std::string::npos);
  EXPECT_NE(after.find("Topmost=1"), std::string::npos);
  EXPECT_NE(after.find("PlayListLoop=0"), std::string::npos);
}

TEST(MainSettingsLoad, OutOfRangeSizeIsCorrectedButACompleteFileIsLeftAlone) {
  TempDir dir;
  std::string text = kAllKeys;
  text.replace(text.find("VideoMutiple=1"), 14, "VideoMutiple=5");
  WriteFileBytes(dir.File("kinovue.ini"), text);
  struct stat before {};
  stat(dir.File("kinovue.ini").c_str(), &before);
  IniFile ini(dir.File("kinovue.ini"));
  MainSettings s;
  LoadMainSettings(ini, s);
  EXPECT_EQ(s.VideoMutiple, 2);
  EXPECT_EQ(s.LastOpen, "/m/a.avi");
  struct stat after {};
  stat(dir.File("kinovue.ini").c_str(), &after);
  EXPECT_EQ(before.st_ino, after.st_ino);
  EXPECT_EQ(ReadFileBytes(dir.File("kinovue.ini")), text);  // "5" stays until the size is changed
}

TEST(WindowTexts, ClockTitleAndStateNames) {
  EXPECT_EQ(ClockText(0), "00:00:00");
  EXPECT_EQ(ClockText(3725), "01:02:05");
  EXPECT_EQ(ClockText(90000), "01:00:00");  // a day and an hour: the hour beyond the day
  EXPECT_EQ(PlaybackTimeText(65, 7200), "00:01:05/02:00:00");
  EXPECT_EQ(WindowTitle(1, "/home/u/电影/a b.avi").toStdString(), "Kinovue  正在播放: a b.avi");
  EXPECT_EQ(WindowTitle(0, "http://host/live/stream").toStdString(), "Kinovue  正在缓冲数据...: http://host/live/stream");
  EXPECT_EQ(WindowTitle(4, nullptr).toStdString(), "Kinovue  无法播放剪辑: ");
  // A name in GBK (中文.avi), as old discs and archives hold them, reads as itself.
  EXPECT_EQ(WindowTitle(1, "/m/\xd6\xd0\xce\xc4.avi").toStdString(), "Kinovue  正在播放: 中文.avi");
  EXPECT_EQ(WindowTitle(1, "/m/ab\xd6").toStdString(), "Kinovue  正在播放: ab\uFFFD");  // fits neither: nothing dropped
  EXPECT_STREQ(EngineStateName(7), "");
}

TEST(KeyMapping, ShiftedDigitsKeypadAndBrackets) {
  using namespace platform;
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Asterisk, Qt::ShiftModifier), static_cast<unsigned>('8'));
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Asterisk, Qt::KeypadModifier), static_cast<unsigned>(VK_MULTIPLY));
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Plus, Qt::KeypadModifier), static_cast<unsigned>(VK_ADD));
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Plus, Qt::NoModifier), static_cast<unsigned>(VK_OEM_PLUS));
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_5, Qt::KeypadModifier), static_cast<unsigned>(VK_NUMPAD0 + 5));
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_5, Qt::NoModifier), static_cast<unsigned>('5'));
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_T, Qt::ShiftModifier), static_cast<unsigned>('T'));
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_BracketLeft, Qt::NoModifier), 0x5Bu);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Enter, Qt::KeypadModifier), static_cast<unsigned>(VK_RETURN));
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Period, Qt::NoModifier), static_cast<unsigned>(VK_OEM_PERIOD));
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Launch0, Qt::NoModifier), 0u);
}

}  // namespace

#include "mainwindow/full_screen_pointer.h"

namespace {

TEST(FullScreenPointer, CursorHidesThreeTicksAfterMovementStartsWhilePlaying) {
  FullScreenPointer p;
  EXPECT_TRUE(p.OnMove(10, 10));
  EXPECT_TRUE(p.TakeTimerStart());
  EXPECT_FALSE(p.OnTick(true));
  EXPECT_TRUE(p.OnMove(50, 60));   // moving on does not extend the countdown
  EXPECT_FALSE(p.TakeTimerStart());
  EXPECT_FALSE(p.OnTick(true));
  EXPECT_TRUE(p.CursorVisible());
  EXPECT_TRUE(p.OnTick(true));     // third tick: hidden, timer done
  EXPECT_FALSE(p.CursorVisible());
  EXPECT_FALSE(p.OnMove(50, 60));  // same place: no panel rules, but a new countdown
  EXPECT_TRUE(p.TakeTimerStart());
  EXPECT_TRUE(p.CursorVisible());
}

TEST(FullScreenPointer, CursorStaysWhilePausedAndThePanelBandIsAboveTheLowerBottom) {
  FullScreenPointer p;
  p.OnMove(1, 1);
  p.OnTick(false);
  p.OnTick(false);
  EXPECT_TRUE(p.OnTick(false));
  EXPECT_TRUE(p.CursorVisible());
  EXPECT_TRUE(FullScreenPointer::InPanelBand(955, 1024, 1024));
  EXPECT_FALSE(FullScreenPointer::InPanelBand(954, 1024, 1024));
  EXPECT_TRUE(FullScreenPointer::InPanelBand(931, 1024, 1000));  // a task bar below the work area
  EXPECT_FALSE(FullScreenPointer::InPanelBand(930, 1024, 1000));
}

}  // namespace
