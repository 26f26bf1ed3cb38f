// The playback controller against a recording engine, without a window.
#include "player/playback_controller.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "../mainwindow/fake_engine.h"
#include "history/history_list.h"
#include "playlist/general_play_list.h"

namespace {

// Writes down what the window would be told to show.
struct ShownLog : PlaybackView {
  std::vector<std::string> shown;
  const PlaybackController* playback = nullptr;
  // The window's title names the controller's title state.
  void ShowState(int state) override {
    shown.push_back("state " + std::to_string(state) + " title " + std::to_string(playback->TitleState()));
  }
  void ShowPlaybackMenu() override { shown.push_back("menu"); }
  void ShowLength(int length, int position) override {
    shown.push_back("length " + std::to_string(length) + " at " + std::to_string(position));
  }
  void ShowPosition(int position) override { shown.push_back("position " + std::to_string(position)); }
  void ShowRunFinished(bool byEngine) override { shown.push_back(byEngine ? "finished by engine" : "finished"); }
  void ShowResumeNotice(int seconds) override { shown.push_back("resume " + std::to_string(seconds)); }
  void ShowFailure(const std::string& reason) override { shown.push_back("failure " + reason); }
  void ShowStarted() override { shown.push_back("started"); }
  void ShowVolume(int volume) override { shown.push_back("volume " + std::to_string(volume)); }
  void ShowMute(bool on) override { shown.push_back(on ? "muted" : "unmuted"); }
  void ShowSpeed(int speed) override { shown.push_back("speed " + std::to_string(speed)); }
  void ShowSetting(int kind, int value) override {
    shown.push_back("setting " + std::to_string(kind) + " " + std::to_string(value));
  }
  void ShowRecentFiles() override { shown.push_back("recent"); }
};

// A controller with its engine, playlist and history, as the window holds them.
struct Scene {
  Scene() {
    playback.Attach(engine, playlist, nullptr);
    view.playback = &playback;
  }

  // What the UI loop does with the decisions posted to it.
  void RunPosted() {
    while (posted > 0) {
      --posted;
      playback.OnFinished(0);
    }
  }
  // The engine ends its run as it does after STOP or at the end of a file.
  void EngineEnds() {
    engine.state = ENGINE_STATE_STOPPED;
    playback.OnFinished(ENGINE_STATE_STOPPED);
  }

  FakeEngine engine;
  CGeneralPlayList playlist;
  CHistoryList history;
  ShownLog view;
  int posted = 0;
  PlayModes modes;  // everything off: a run that ends plays nothing by itself
  std::vector<std::string> saved;
  PlaybackController playback{view, history,
                              {[this] { return modes; }, [this] { ++posted; },
                               [this](const std::string& path) { saved.push_back(path); }}};
};

// Each row sets the scene, asks, lets the engine end its run when it was
// stopped, and names the files that were then played in order.
TEST(PlaybackController, WhatPlaysAfterEachRequest) {
  struct Row {
    const char* why;
    int state;  // the engine's state when the request comes
    std::function<void(Scene&)> request;
    std::vector<std::string> played;
    std::string pendingAfter;
  };
  const Row rows[] = {
      {"an open while stopped is decided from the UI loop", ENGINE_STATE_STOPPED,
       [](auto& t) { t.playback.RequestOpen("/m/a.mkv"); }, {"/m/a.mkv"}, ""},
      {"an open while playing waits for the stopped run", ENGINE_STATE_PLAYING,
       [](auto& t) { t.playback.RequestOpen("/m/a.mkv"); }, {"/m/a.mkv"}, ""},
      {"a stop while playing plays nothing after, even with automatic play", ENGINE_STATE_PLAYING,
       [](auto& t) {
         t.modes.autoPlayFromList = t.modes.playFromList = true;
         t.playlist.Add("/m/list.mkv");
         t.playback.StopPlayback();
       },
       {}, ""},
      {"a stop while stopped does not swallow the next open", ENGINE_STATE_STOPPED,
       [](auto& t) {
         t.playback.StopPlayback();
         t.playback.RequestOpen("/m/b.mkv");
       },
       {"/m/b.mkv"}, ""},
      {"an empty path opens nothing", ENGINE_STATE_STOPPED, [](auto& t) { t.playback.RequestOpen(""); }, {}, ""},
      {"Next walks the playlist from its current item", ENGINE_STATE_STOPPED,
       [](auto& t) {
         t.modes.playFromList = true;
         t.playback.QueueInPlayList({"/m/1.mkv", "/m/2.mkv", "/m/3.mkv"});
         t.playback.PlayNext();
       },
       {"/m/2.mkv"}, ""},
      {"Previous from the first item wraps to the last", ENGINE_STATE_PLAYING,
       [](auto& t) {
         t.modes.playFromList = true;
         t.playback.QueueInPlayList({"/m/1.mkv", "/m/2.mkv", "/m/3.mkv"});
         t.playback.PlayPrevious();
       },
       {"/m/3.mkv"}, ""},
      {"dropped files: the last one dropped plays", ENGINE_STATE_STOPPED,
       [](auto& t) { t.playback.OpenDropped({"/m/x.mkv", "/m/y.mkv"}); }, {"/m/y.mkv"}, ""},
      {"nothing opens once closing has begun", ENGINE_STATE_PLAYING,
       [](auto& t) {
         t.playback.Close();
         t.playback.RequestOpen("/m/a.mkv");
       },
       {}, ""},
      {"disc files go first; the user's file waits for them", ENGINE_STATE_STOPPED,
       [](auto& t) {
         t.playback.DiscQueue() = {"/cd/1.VOB", "/cd/2.VOB"};
         t.playback.RequestOpen("/m/a.mkv");
       },
       {"/cd/1.VOB"}, "/m/a.mkv"},
      {"the late end of a replaced run decides nothing", ENGINE_STATE_PLAYING,
       [](auto& t) {
         t.playback.RequestOpen("/m/a.mkv");
         t.engine.state = ENGINE_STATE_OPENING;  // a setting change restarted the medium
         t.playback.OnFinished(ENGINE_STATE_STOPPED);
       },
       {}, "/m/a.mkv"},
      {"play/pause while an open waits leaves the old file alone", ENGINE_STATE_STOPPED,
       [](auto& t) {
         t.engine.file = "/m/old.mkv";
         t.playback.RequestOpen("/m/a.mkv");
         t.playback.TogglePlayPause();  // before the UI loop decides
       },
       {"/m/a.mkv"}, ""},
  };
  for (const Row& row : rows) {
    Scene t;
    t.engine.state = row.state;
    row.request(t);
    if (t.engine.state == ENGINE_STATE_STOPPED && row.state != ENGINE_STATE_STOPPED) t.EngineEnds();
    t.RunPosted();
    EXPECT_EQ(t.engine.Played(), row.played) << row.why;
    EXPECT_EQ(t.playback.PendingPath(), row.pendingAfter) << row.why;
  }
}

// What the view was told, the engine was asked and the controller kept.
std::string Describe(Scene& t) {
  std::string out;
  auto add = [&out](const std::string& item) { out += (out.empty() ? "" : ", ") + item; };
  for (const std::string& item : t.view.shown) add(item);
  for (const FakeEngine::Command& c : t.engine.commands) add("cmd " + std::to_string(c.code) + " " + std::to_string(c.arg));
  for (const EngineSetting& s : t.engine.settings)
    add("apply " + std::to_string(s.kind) + " " + std::to_string(s.value) + " at " + std::to_string(s.resumePosition));
  for (const auto& [kind, value] : t.playback.AnnouncedSettings())
    add("announced " + std::to_string(kind) + " " + std::to_string(value));
  if (t.history.Count() > 0) add("history " + std::to_string(t.history.Count()));
  if (!t.playback.FailureReason().empty()) add("reason " + t.playback.FailureReason());
  if (t.playback.PositionSeconds() != 0) add("at " + std::to_string(t.playback.PositionSeconds()));
  return out;
}

TEST(PlaybackController, EngineReportsAreShownAndKept) {
  const struct {
    const char* why;
    int state;
    std::function<void(Scene&)> reports;
    const char* expected;
  } rows[] = {
      {"a failed run keeps its title until the next one opens", ENGINE_STATE_PLAYING,
       [](Scene& t) {
         t.playback.OnError("坏文件");
         t.playback.OnState(ENGINE_STATE_ABORTED);
         t.playback.OnState(ENGINE_STATE_STOPPED);
       },
       "failure 坏文件, state 4 title 4, state 3 title 4, reason 坏文件"},
      {"opening forgets the failure", ENGINE_STATE_STOPPED,
       [](Scene& t) {
         t.playback.OnError("坏文件");
         t.playback.OnState(ENGINE_STATE_OPENING);
       },
       "failure 坏文件, state 0 title 0"},
      {"an empty reason is no failure", ENGINE_STATE_PLAYING,
       [](Scene& t) {
         t.playback.OnError("");
         t.playback.OnError(nullptr);
       },
       ""},
      {"a resume point while opening is gone to directly", ENGINE_STATE_OPENING,
       [](Scene& t) { t.playback.OnLength(600, 120); }, "length 600 at 120, cmd 7 120, at 120"},
      {"a resume point while playing is a relative seek", ENGINE_STATE_PLAYING,
       [](Scene& t) { t.playback.OnLength(600, 120); }, "length 600 at 120, cmd 6 120, at 120"},
      {"no resume point, no seek", ENGINE_STATE_OPENING, [](Scene& t) { t.playback.OnLength(600, 0); },
       "length 600 at 0"},
      {"only settings the menus have are checked and kept", ENGINE_STATE_PLAYING,
       [](Scene& t) {
         t.playback.OnSetting({ENGINE_SETTING_CHANNELS, 2, 0});
         t.playback.OnSetting({ENGINE_SETTING_ASPECT, 4, 0});
         t.playback.OnSetting({ENGINE_SETTING_DEINTERLACE, -1, 0});
         t.playback.OnSetting({ENGINE_SETTING_SPEED, 150, 0});
         t.playback.OnSetting({ENGINE_SETTING_ASPECT, 3, 0});
       },
       "setting 0 2, speed 150, setting 1 3, announced 0 2, announced 1 3"},
      {"a setting restarts the medium where it is", ENGINE_STATE_PLAYING,
       [](Scene& t) {
         t.playback.OnPosition(42);
         t.playback.ApplyEngineSetting(ENGINE_SETTING_ASPECT, 2);
       },
       "position 42, apply 1 2 at 42, at 42"},
      {"the engine's end resets the clock; nothing to play refreshes the menus", ENGINE_STATE_STOPPED,
       [](Scene& t) {
         t.playback.OnPosition(70);
         t.playback.OnFinished(ENGINE_STATE_STOPPED);
       },
       "position 70, finished by engine, menu"},
      {"the end of a replaced run changes nothing", ENGINE_STATE_OPENING,
       [](Scene& t) {
         t.playback.OnPosition(70);
         t.playback.OnFinished(ENGINE_STATE_STOPPED);
       },
       "position 70, at 70"},
      {"opened files go to the recent list", ENGINE_STATE_OPENING,
       [](Scene& t) {
         t.playback.OnOpen("/m/a.mkv");
         t.playback.OnOpen(nullptr);
       },
       "recent, recent, history 1"},
      {"start, volume and mute follow the engine", ENGINE_STATE_PLAYING,
       [](Scene& t) {
         t.engine.info.volume = 35;
         t.playback.OnStarted();
         t.playback.OnVolume(80);  // the engine's own value counts
         t.playback.OnMute(true);
       },
       "volume 35, started, volume 35, muted"},
  };
  for (const auto& row : rows) {
    Scene t;
    t.engine.state = row.state;
    row.reports(t);
    EXPECT_EQ(Describe(t), row.expected) << row.why;
  }
}

// Paths too long to be read back whole are not kept as the last one opened.
TEST(PlaybackController, RemembersOnlyPathsThatReadBackWhole) {
  Scene t;
  const std::string longest(platform::kMaxPathBytes, 'a');
  t.playback.RememberLastOpen(longest);
  t.playback.RememberLastOpen(longest + "a");
  t.playback.OpenChosen("http://example.org/live");
  EXPECT_EQ(t.saved, (std::vector<std::string>{longest, "http://example.org/live"}));
}

}  // namespace
