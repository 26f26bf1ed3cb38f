// The engine host against the scripted engine library: exact messages,
// states and slave commands.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <optional>

#include "core_app.h"
#include "engine_fixture.h"
#include "settings/ini_file.h"

namespace {

using Names = std::vector<std::string>;

constexpr const char* kSound = "line ID_AUDIO_ID=0\nline ID_LENGTH=10.00\nline AO: [null] 44100Hz 2ch s16le\n";

class EngineHost : public ::testing::Test {
 protected:
  EngineHost() : h(KINOVUE_SCRIPTED_ENGINE), script(h.Folder()) {}

  // Starts the engine and plays file with the script; waits for STARTED
  // when the script announces playback.
  void PlayScript(const std::string& text, const std::string& file = "/m/a.mp3", bool waitStarted = true) {
    script.Set(text);
    if (h.Messages().empty()) {
      ASSERT_EQ(h.Start(), 0);
    }
    const std::size_t mark = h.Messages().size();
    ASSERT_TRUE(h.Play(file));
    if (waitStarted) {
      ASSERT_GE(h.WaitFor(WM_ENGINE_STARTED, mark), 0);
    }
  }
  int IniInt(const char* key) {
    IniFile ini(h.Folder().File("dat/kinovue.ini"));
    int v = -12345;
    ini.ReadInt("mplayer", key, v);
    return v;
  }

  EngineHarness h;
  EngineScript script;
};

TEST_F(EngineHost, StartAnnouncesTheThreeSettingsAndWritesTheEngineSection) {
  ASSERT_EQ(h.Start(), 0);
  EXPECT_EQ(h.Names(), (Names{"SETTING 0 0 0", "SETTING 1 0 0", "SETTING 2 0 0"}));
  EXPECT_EQ(IniInt("Volume"), 100);
  EXPECT_EQ(h.Engine().GetState(), ENGINE_STATE_STOPPED);
}

TEST(EngineHostStart, MissingLibraryFailsTheStartAndEveryPlaySaysWhy) {
  EngineHarness h("/nonexistent/libmplayer.so");
  EXPECT_NE(h.Start(), 0);
  const std::size_t mark = h.Messages().size();
  EXPECT_FALSE(h.Play("/m/a.avi"));  // never started: no run
  const Names names = h.Names(mark);
  ASSERT_EQ(names.size(), 3u);
  EXPECT_EQ(names[0].rfind("ERROR 无法加载引擎库: ", 0), 0u) << names[0];
  EXPECT_EQ(Names(names.begin() + 1, names.end()), (Names{"STATE 4", "STATE 3"}));
}

TEST_F(EngineHost, NaturalEndWithinTwoSecondsReportsOnlyStopped) {
  PlayScript(std::string(kSound) + "bytes A:   8.5 (08.5) of 10.0\\rA:   9.1 (09.1) of 10.0\\r\n");
  ASSERT_GE(h.WaitFor(WM_ENGINE_FINISHED), 0);
  h.Pump(50);
  EXPECT_EQ(h.Names(3), (Names{"VOLUME 100", "OPEN /m/a.mp3", "STATE 0", "LENGTH 10 0", "STATE 1", "STARTED",
                               "POSITION 8", "POSITION 9", "STATE 3", "FINISHED 3"}));
  EXPECT_EQ(h.Engine().GetState(), ENGINE_STATE_STOPPED);
}

TEST_F(EngineHost, EarlyEndReportsAbortedThenStopped) {
  PlayScript(std::string(kSound) + "bytes A:   3.0 (03.0) of 10.0\\r\n");
  const int finished = h.WaitFor(WM_ENGINE_FINISHED);
  ASSERT_GE(finished, 0);
  const Names names = h.Names();
  EXPECT_EQ(Names(names.end() - 4, names.end()), (Names{"POSITION 3", "STATE 4", "STATE 3", "FINISHED 3"}));
}

TEST_F(EngineHost, StopWhilePlayingWritesQuitAndTheRunStillReportsItsEnd) {
  PlayScript(std::string(kSound) + "hold\n");
  const std::size_t mark = h.Messages().size();
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(h.Run(ENGINE_CMD_STOP));
  EXPECT_EQ(h.Engine().GetState(), ENGINE_STATE_STOPPED);
  ASSERT_GE(h.WaitFor(WM_ENGINE_FINISHED, mark), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_EQ(h.Names(mark), (Names{"STATE 3", "STATE 3", "FINISHED 3"}));
  EXPECT_EQ(script.Commands().back(), "quit");
  EXPECT_EQ(h.Engine().GetLength(), 0);  // per-medium information cleared
  EngineInfo info;
  EXPECT_FALSE(h.Engine().GetInfo(&info)->hasAudio);
  EXPECT_TRUE(info.hasMedia);
}

TEST_F(EngineHost, PlayingANewFileWhilePlayingStopsFirst) {
  PlayScript(std::string(kSound) + "hold\n");
  const std::size_t mark = h.Messages().size();
  const std::string next = "/m/b.mp3";
  ASSERT_TRUE(h.Play(next));
  // The old run's end is handled while the new run waits for it; its
  // posted FINISHED comes after the new run was announced.
  EXPECT_EQ(h.Names(mark), (Names{"STATE 3", "STATE 3", "VOLUME 100", "OPEN /m/b.mp3", "STATE 0"}));
  ASSERT_GE(h.WaitFor(WM_ENGINE_STARTED, mark), 0);
  EXPECT_EQ(h.Names(mark)[5], "FINISHED 3");
  EXPECT_EQ(script.Runs(), 2);
  EXPECT_EQ(script.Arguments(1).back(), next);
  EXPECT_EQ(h.Engine().GetState(), ENGINE_STATE_PLAYING);
}

TEST_F(EngineHost, ApplySettingWhileStoppedOnlyStoresTheValue) {
  ASSERT_EQ(h.Start(), 0);
  const std::size_t mark = h.Messages().size();
  EngineSetting aspect{ENGINE_SETTING_ASPECT, 2, 30};
  EXPECT_FALSE(h.Engine().ApplySetting(&aspect));
  EngineSetting deinterlace{ENGINE_SETTING_DEINTERLACE, 1, 0};
  EXPECT_FALSE(h.Engine().ApplySetting(&deinterlace));
  EngineSetting unknown{7, 1, 0};
  EXPECT_FALSE(h.Engine().ApplySetting(&unknown));
  h.Pump(20);
  EXPECT_EQ(h.Messages().size(), mark);
  EXPECT_EQ(IniInt("Aspect"), 2);
  EXPECT_EQ(IniInt("Deinterlace"), 1);
}

TEST_F(EngineHost, ApplySettingWhilePlayingRestartsTheMediumAndResumes) {
  PlayScript("line ID_VIDEO_WIDTH=320\nline ID_LENGTH=100\nline VO: [null] 320x240 => 320x240\n"
             "bytes A:   5.0 V:   5.0 A-V:  0.000\\r\nhold\n",
             "/m/movie.avi");
  ASSERT_GE(h.WaitFor(WM_ENGINE_POSITION), 0);
  const std::size_t mark = h.Messages().size();
  EngineSetting aspect{ENGINE_SETTING_ASPECT, 2, 5};
  EXPECT_TRUE(h.Engine().ApplySetting(&aspect));
  EXPECT_EQ(h.Names(mark), (Names{"STATE 3", "STATE 3", "VOLUME 100", "STATE 1", "SETTING 1 2 5"}));
  ASSERT_GE(h.WaitFor(WM_ENGINE_LENGTH, mark), 0);
  const Names after = h.Names(mark);
  EXPECT_NE(std::find(after.begin(), after.end(), "LENGTH 100 5"), after.end());  // the owner seeks there
  const auto args = script.Arguments(1);
  EXPECT_EQ(args.back(), "/m/movie.avi");
  EXPECT_NE(std::find(args.begin(), args.end(), "screenshot=2,expand=:::::16/9:2"), args.end());
  EngineSetting channels{ENGINE_SETTING_CHANNELS, 1, 0};
  EXPECT_TRUE(h.Engine().ApplySetting(&channels));
  ASSERT_TRUE(testsupport::PumpUntil([&] { return script.Runs() == 3; }, 5000));
  const auto third = script.Arguments(2);
  const std::vector<std::string> stereoLeft = {"-stereo", "1"};
  EXPECT_NE(std::search(third.begin(), third.end(), stereoLeft.begin(), stereoLeft.end()), third.end());
}

// A speed changed while a run plays reaches it at once, with the filter
// that keeps the pitch; it is stored, reported, and the next run starts at it.
TEST_F(EngineHost, SpeedReachesTheRunningEngineAndTheNextRunStartsAtIt) {
  PlayScript(std::string(kSound) + "hold\n");
  const std::size_t mark = h.Messages().size();
  EXPECT_TRUE(h.Run(ENGINE_CMD_SET_SPEED, 150));
  EXPECT_TRUE(h.Run(ENGINE_CMD_SET_SPEED, 100));
  EXPECT_EQ(h.Names(mark), (Names{"SETTING 3 150 0", "SETTING 3 100 0"}));
  EXPECT_TRUE(h.Run(ENGINE_CMD_SET_SPEED, 900));  // held to the fastest
  EXPECT_TRUE(h.Run(ENGINE_CMD_STOP));
  ASSERT_GE(h.WaitFor(WM_ENGINE_FINISHED, mark), 0);
  const Names commands = script.Commands();
  const Names changes(std::find(commands.begin(), commands.end(), "af_add scaletempo"), commands.end());
  EXPECT_EQ(changes, (Names{"af_add scaletempo", "speed_set 1.5", "speed_set 1", "af_del scaletempo",
                            "af_add scaletempo", "speed_set 2", "quit"}));
  EXPECT_EQ(IniInt("Speed"), 200);
  EngineInfo info;
  EXPECT_EQ(h.Engine().GetInfo(&info)->speed, 200);
  ASSERT_TRUE(h.Play("/m/b.mp3"));
  ASSERT_TRUE(testsupport::PumpUntil([&] { return script.Runs() == 2; }, 5000));
  const Names args = script.Arguments(1);
  EXPECT_EQ(Names(args.end() - 5, args.end() - 1), (Names{"-af-add", "scaletempo", "-speed", "2"}));
}

struct CommandCase {
  int code;
  std::intptr_t arg;
  std::optional<std::string> text;  // nothing: no text written
  bool result = true;
};

TEST_F(EngineHost, EveryCommandWritesItsSlaveText) {
  PlayScript("line ID_AUDIO_ID=0\nline AO: [null] 44100Hz\nhold\n");
  const std::vector<CommandCase> cases = {
      {ENGINE_CMD_SEEK, 10, "seek +10 0"},
      {ENGINE_CMD_SEEK, -60, "seek -60 0"},
      {ENGINE_CMD_SEEK, 0, std::nullopt},
      {ENGINE_CMD_SEEK_TO, 125, "seek 125 2"},
      {ENGINE_CMD_SEEK_PERCENT, 50, "seek 50 1"},
      {ENGINE_CMD_AUDIO_DELAY, 100, "audio_delay 0.1"},
      {ENGINE_CMD_AUDIO_DELAY, -100, "audio_delay -0.1"},
      {ENGINE_CMD_AUDIO_DELAY, 250, "audio_delay 0.2"},
      {ENGINE_CMD_AUDIO_DELAY, 0, std::nullopt},
      {ENGINE_CMD_SET_VOLUME, 150, "volume 100 1"},
      {ENGINE_CMD_SET_VOLUME, 3, "volume 3 1"},
      {ENGINE_CMD_CHANGE_VOLUME, -5, "volume 0 1"},
      {ENGINE_CMD_CHANGE_VOLUME, 7, "volume 7 1"},
      {ENGINE_CMD_MUTE, 0, "mute"},
      {ENGINE_CMD_QUERY_PERCENT, 0, "get_percent_pos"},
      {ENGINE_CMD_FRAME_DROP, 0, "frame_drop"},
      {ENGINE_CMD_OSD, -1, "osd 2"},
      {ENGINE_CMD_OSD, -1, "osd 3"},
      {ENGINE_CMD_OSD, -1, "osd 0"},
      {ENGINE_CMD_OSD, 7, "osd 3"},
      {ENGINE_CMD_OSD, -5, "osd 0"},
      {ENGINE_CMD_PLAYTREE_UP, 2, "pt_up_step 2"},
      {ENGINE_CMD_PLAYTREE_UP, -1, "pt_up_step -1"},
      {ENGINE_CMD_PLAYTREE_STEP, 0, "pt_step -0"},
      {ENGINE_CMD_ALT_SOURCE_STEP, 1, "alt_src_step 1"},
      {ENGINE_CMD_SUB_DELAY, 100, "sub_delay +0.1"},
      {ENGINE_CMD_SUB_DELAY, -100, "sub_delay -0.1"},
      {ENGINE_CMD_SUB_DELAY, 0, std::nullopt},
      {ENGINE_CMD_CONTRAST, 0, "contrast -0"},
      {ENGINE_CMD_CONTRAST, 1, "contrast +1"},
      {ENGINE_CMD_BRIGHTNESS, -1, "brightness -1"},
      {ENGINE_CMD_HUE, 1, "hue +1"},
      {ENGINE_CMD_SATURATION, -1, "saturation -1"},
      {ENGINE_CMD_SUB_POS, 1, "sub_pos +1"},
      {ENGINE_CMD_SCREENSHOT, 0, "screenshot"},
      {ENGINE_CMD_PANSCAN, 100, "panscan +0.1"},
      {ENGINE_CMD_PANSCAN, -100, "panscan -0.1"},
      {ENGINE_CMD_PANSCAN, 0, std::nullopt},
      {ENGINE_CMD_SWITCH_AUDIO, 0, "switch_audio"},
      {ENGINE_CMD_AUDIO_LANG, 0, "audio_lang"},
      {ENGINE_CMD_VOBSUB_LANG, 0, "vobsub_lang"},
      {ENGINE_CMD_TXTSUB_LANG, 0, "txtsub_lang"},
      {ENGINE_CMD_DVDSUB_LANG, 0, "dvdsub_lang"},
      {ENGINE_CMD_KEEP_ASPECT, 0, "keep_aspect"},
      {ENGINE_CMD_FRAME_STEP, 0, "frame_step"},  // now PAUSED
      {ENGINE_CMD_PAUSE, 0, "pause"},            // PAUSED -> PLAYING
      {ENGINE_CMD_PAUSE, 0, "pause"},            // PLAYING -> PAUSED
      {ENGINE_CMD_PLAY, 0, "pause"},             // resume
      {ENGINE_CMD_PLAY, 0, std::nullopt},        // already playing
      {ENGINE_CMD_NONE, 0, std::nullopt},
      {ENGINE_CMD_SET_CACHE, 4096, std::nullopt},
      {ENGINE_CMD_CLOSE, 0, std::nullopt, false},
      {37, 0, std::nullopt, false},
      {-1, 0, std::nullopt, false},
      {ENGINE_CMD_STOP, 0, "quit"},
  };
  std::vector<std::string> expected = {"volume 100 1", "osd 1"};  // every run begins with these
  for (const CommandCase& c : cases) {
    EXPECT_EQ(h.Run(c.code, c.arg), c.result) << "code " << c.code << " arg " << c.arg;
    if (c.text) expected.push_back(*c.text);
  }
  EngineCommand wrongKind{11, ENGINE_CMD_PAUSE, 0};
  EXPECT_FALSE(h.Engine().Execute(&wrongKind));
  ASSERT_GE(h.WaitFor(WM_ENGINE_FINISHED), 0);
  EXPECT_EQ(script.Commands(), expected);
  EXPECT_EQ(IniInt("Volume"), 7);
  EXPECT_EQ(IniInt("Mute"), 1);
  EXPECT_EQ(IniInt("OSDLevel"), 0);
  EXPECT_EQ(IniInt("PlayCache"), 4096);
  const Names names = h.Names();
  EXPECT_NE(std::find(names.begin(), names.end(), "MUTE 1"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), "VOLUME 0"), names.end());
}

TEST_F(EngineHost, CommandsThatNeedARunWriteNothingWithoutOne) {
  ASSERT_EQ(h.Start(), 0);
  EXPECT_TRUE(h.Run(ENGINE_CMD_PAUSE));
  EXPECT_TRUE(h.Run(ENGINE_CMD_STOP));
  EXPECT_TRUE(h.Run(ENGINE_CMD_SEEK, 10));
  EXPECT_FALSE(h.Run(ENGINE_CMD_PLAY, 0));  // nothing stored to replay
  EXPECT_TRUE(h.Engine().HandleKey(platform::VK_SPACE));  // the key is still taken
  EXPECT_FALSE(h.Play(""));
  EXPECT_EQ(h.Engine().GetState(), ENGINE_STATE_STOPPED);
  // Nothing waits in the pipe: the next run reads only its own first commands.
  PlayScript("hold\n", "/m/a.mp3", false);
  EXPECT_TRUE(h.Run(ENGINE_CMD_SEEK, 10));  // OPENING: no seek yet
  EXPECT_EQ(h.Engine().GetState(), ENGINE_STATE_OPENING);
  EXPECT_TRUE(h.Run(ENGINE_CMD_STOP));
  ASSERT_GE(h.WaitFor(WM_ENGINE_FINISHED), 0);
  EXPECT_EQ(script.Commands(), (std::vector<std::string>{"volume 100 1", "osd 1", "quit"}));
}

TEST_F(EngineHost, KeysFollowTheTableAndTheState) {
  PlayScript(std::string(kSound) + "hold\n");
  EXPECT_TRUE(h.Engine().HandleKey(platform::VK_SPACE));
  EXPECT_EQ(h.Engine().GetState(), ENGINE_STATE_PAUSED);
  EXPECT_TRUE(h.Engine().HandleKey(platform::VK_RETURN));
  EXPECT_EQ(h.Engine().GetState(), ENGINE_STATE_PLAYING);
  h.Keys().capsLock = true;
  EXPECT_FALSE(h.Engine().HandleKey('M'));
  EXPECT_TRUE(h.Engine().HandleKey(platform::VK_RIGHT));
  h.Keys().capsLock = false;
  h.Keys().down = {platform::VK_LSHIFT};
  EXPECT_TRUE(h.Engine().HandleKey('8'));
  h.Keys().down.clear();
  EXPECT_TRUE(h.Engine().HandleKey('8'));
  EXPECT_FALSE(h.Engine().HandleKey('Q'));
  const std::size_t mark = h.Messages().size();
  EXPECT_TRUE(h.Engine().HandleKey('F'));  // full screen: a click and a double click on the picture
  h.Pump(50);
  EXPECT_EQ(h.Names(mark), (Names{"MSG 513 video", "MSG 515 video"}));
  EXPECT_TRUE(h.Run(ENGINE_CMD_STOP));
  ASSERT_GE(h.WaitFor(WM_ENGINE_FINISHED), 0);
  EXPECT_EQ(script.Commands(), (std::vector<std::string>{"volume 100 1", "osd 1", "pause", "pause", "seek +10 0",
                                                        "volume 100 1", "saturation +1", "quit"}));
  // Stopped with a stored file, Space plays it again.
  EXPECT_TRUE(h.Engine().HandleKey(platform::VK_SPACE));
  EXPECT_TRUE(testsupport::PumpUntil([&] { return script.Runs() == 2; }, 5000));
}

TEST_F(EngineHost, OutputSplitAcrossReadsIsParsedWhole) {
  PlayScript("line ID_AUDIO_ID=0\nsplit 12\nline ID_LENGTH=123.4\nsplit 3\nbytes AO: [null] 44100Hz\\r\nhold\n");
  const Names names = h.Names();
  EXPECT_NE(std::find(names.begin(), names.end(), "LENGTH 123 0"), names.end());
}

TEST_F(EngineHost, ANewFileDoesNotWaitOnTheOwnersThreadForAnEngineDeafToQuit) {
  PlayScript(std::string(kSound) + "deaf\nhold\n");
  const std::size_t mark = h.Messages().size();
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(h.Play("/m/b.mp3"));
  // Before, this call held the owner's thread for the whole grace time.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
  EXPECT_EQ(h.Names(mark), (Names{"STATE 3", "OPEN /m/b.mp3", "STATE 0"}));
  EXPECT_EQ(h.Engine().GetState(), ENGINE_STATE_OPENING);
  script.Set(std::string(kSound) + "hold\n");  // what the waiting run plays
  ASSERT_GE(h.WaitFor(WM_ENGINE_STARTED, mark), 0);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(CMplayerEngine::kQuitGraceMs - 100));
  EXPECT_EQ(script.Arguments(1).back(), "/m/b.mp3");
  // The deaf run was replaced, not finished: the owner must not move on.
  const Names after = h.Names(mark);
  EXPECT_EQ(std::count(after.begin(), after.end(), "FINISHED 3"), 0);
  EXPECT_EQ(h.Engine().GetState(), ENGINE_STATE_PLAYING);
}

TEST_F(EngineHost, StoppingAStartThatWaitsForADeafRunStartsNothing) {
  PlayScript(std::string(kSound) + "deaf\nhold\n");
  ASSERT_TRUE(h.Play("/m/b.mp3"));
  const std::size_t mark = h.Messages().size();
  ASSERT_TRUE(h.Run(ENGINE_CMD_STOP));
  // The deaf run is ended when its grace time runs out and reports that.
  ASSERT_GE(h.WaitFor(WM_ENGINE_FINISHED, mark), 0);
  h.Pump(200);
  const Names after = h.Names(mark);
  EXPECT_EQ(std::count(after.begin(), after.end(), "FINISHED 3"), 1);
  EXPECT_EQ(script.Runs(), 1);
  EXPECT_EQ(h.Engine().GetState(), ENGINE_STATE_STOPPED);
}

TEST_F(EngineHost, CommandsWhileNoRunReadsReachNoLaterRun) {
  ASSERT_EQ(h.Start(), 0);
  const std::size_t mark = h.Messages().size();
  const std::vector<std::pair<int, std::intptr_t>> idle = {
      {ENGINE_CMD_FRAME_STEP, 0}, {ENGINE_CMD_SCREENSHOT, 0}, {ENGINE_CMD_SEEK_TO, 30}, {ENGINE_CMD_SEEK_PERCENT, 50},
      {ENGINE_CMD_PAUSE, 0},      {ENGINE_CMD_STOP, 0},       {ENGINE_CMD_OSD, 2},      {ENGINE_CMD_MUTE, 0}};
  for (auto [code, arg] : idle) {
    EXPECT_TRUE(h.Run(code, arg)) << code;
    EXPECT_EQ(h.Engine().GetState(), ENGINE_STATE_STOPPED) << code;
  }
  // A held key: nothing queues up and nothing blocks.
  for (int i = 0; i < 100000; ++i) h.Run(ENGINE_CMD_SCREENSHOT);
  EXPECT_EQ(h.Names(mark), (Names{"MUTE 1"}));  // only the bookkeeping
  PlayScript(std::string(kSound) + "hold\n");
  ASSERT_TRUE(h.Run(ENGINE_CMD_STOP));
  ASSERT_GE(h.WaitFor(WM_ENGINE_FINISHED), 0);
  // The run gets the muted sound and OSD level, and no stale command.
  EXPECT_EQ(script.Commands(), (std::vector<std::string>{"volume 100 1", "mute", "osd 2", "quit"}));
}

TEST_F(EngineHost, WhyARunCannotPlayReachesTheOwner) {
  PlayScript("line kinovue engine: cannot start /usr/bin/mplayer: No such file or directory\n", "/m/a.avi", false);
  ASSERT_GE(h.WaitFor(WM_ENGINE_FINISHED), 0);
  const Names names = h.Names();
  EXPECT_NE(std::find(names.begin(), names.end(),
                      "ERROR kinovue engine: cannot start /usr/bin/mplayer: No such file or directory"),
            names.end());
}

TEST(EngineHostShutdown, DestroyingTheEngineEndsARunThatIgnoresQuit) {
  auto start = std::chrono::steady_clock::now();
  {
    EngineHarness h(KINOVUE_SCRIPTED_ENGINE);
    EngineScript script(h.Folder());
    script.Set(std::string(kSound) + "deaf\nhold\n");
    ASSERT_EQ(h.Start(), 0);
    ASSERT_TRUE(h.Play("/m/a.mp3"));
    ASSERT_GE(h.WaitFor(WM_ENGINE_STARTED), 0);
    start = std::chrono::steady_clock::now();
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(6));
}

TEST(EngineHostShutdown, AfterAStopDestructionWaitsOnlyForTheRestOfTheGraceTime) {
  EngineHarness* raw = nullptr;
  auto h = std::make_unique<EngineHarness>(KINOVUE_SCRIPTED_ENGINE);
  raw = h.get();
  EngineScript script(raw->Folder());
  script.Set(std::string(kSound) + "deaf\nhold\n");  // a stopped (SIGSTOP) engine acts the same
  ASSERT_EQ(raw->Start(), 0);
  ASSERT_TRUE(raw->Play("/m/a.mp3"));
  ASSERT_GE(raw->WaitFor(WM_ENGINE_STARTED), 0);
  const auto stop = std::chrono::steady_clock::now();
  ASSERT_TRUE(raw->Run(ENGINE_CMD_STOP));
  raw->Pump(2000);  // the window's quiet wait
  h.reset();
  // The grace time counts from the stop, not again from the destruction.
  EXPECT_LT(std::chrono::steady_clock::now() - stop,
            std::chrono::milliseconds(CMplayerEngine::kQuitGraceMs + 1000));
}

TEST(EngineHostShutdown, DestroyingTheEngineWhileItsThreadsWaitForTheOwner) {
  testsupport::TempDir records;  // outlives the engine's folder
  EngineScript script(records);
  auto h = std::make_unique<EngineHarness>(KINOVUE_SCRIPTED_ENGINE);
  std::string text = kSound;
  for (int i = 0; i < 200; ++i) text += "line some engine chatter " + std::to_string(i) + "\n";
  script.Set(text + "hold\n");
  ASSERT_EQ(h->Start(), 0);
  h->Engine().SetLogWindow(1, WM_ENGINE_LOG_LINE);  // unknown window: log sends fail at once
  ASSERT_TRUE(h->Play("/m/a.mp3"));
  // Nobody pumps: the reader is blocked in a send to the owner. Destruction
  // must still end the run and every thread, well within the quit grace.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  const auto start = std::chrono::steady_clock::now();
  h.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(CMplayerEngine::kQuitGraceMs));
  EXPECT_EQ(script.Ends(), 1);
}

TEST_F(EngineHost, InfoAndKeyHelp) {
  PlayScript("line ID_VIDEO_WIDTH=320\nline ID_VIDEO_HEIGHT=240\nline VO: [null] 320x240 => 640x480\nhold\n",
             "http://host/a.avi");
  EngineInfo info;
  ASSERT_EQ(h.Engine().GetInfo(&info), &info);
  EXPECT_TRUE(info.hasMedia);
  EXPECT_STREQ(info.file, "http://host/a.avi");
  EXPECT_TRUE(info.hasVideo);
  EXPECT_EQ(info.videoWidth, 320);
  EXPECT_EQ(info.displayHeight, 480);
  EXPECT_EQ(info.volumeMax, 100);
  std::vector<std::string> lines;
  EXPECT_EQ(h.Engine().EnumKeyHelp(reinterpret_cast<std::intptr_t>(&lines), [](std::intptr_t context, const char* line) {
    reinterpret_cast<std::vector<std::string>*>(context)->push_back(line);
  }), 0);
  ASSERT_EQ(lines.size(), 7u);  // every row of the table it was given, in order
  EXPECT_EQ(lines[0], "Space         播放/暂停");
  const auto args = script.Arguments(0);
  ASSERT_GE(args.size(), 3u);
  EXPECT_EQ(args[args.size() - 3], "-cache");
}

}  // namespace
