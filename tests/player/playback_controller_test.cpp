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

// What the window would be told to show, one entry per call.
struct ShownLog : PlaybackView {
  std::vector<std::string> shown;
  void Note(const std::string& what, int value = 0) { shown.push_back(what + " " + std::to_string(value)); }
  void ShowState(int state) override { Note("state", state); }
  void ShowPlaybackMenu() override { Note("menu"); }
  void ShowLength(int length, int position) override { Note("length " + std::to_string(length) + " at", position); }
  void ShowPosition(int position) override { Note("position", position); }
  void ShowRunFinished(bool byEngine) override { Note("finished", byEngine); }
  void ShowResumeNotice(int seconds) override { Note("resume", seconds); }
  void ShowFailure(const std::string& reason) override { Note("failure " + reason); }
  void ShowStarted() override { Note("started"); }
  void ShowVolume(int volume) override { Note("volume", volume); }
  void ShowMute(bool on) override { Note("mute", on); }
  void ShowSpeed(int speed) override { Note("speed", speed); }
  void ShowSetting(int kind, int value) override { Note("setting " + std::to_string(kind), value); }
  void ShowRecentFiles() override { Note("recent"); }
};

// A controller with its engine, playlist and history, as the window holds them.
struct Scene {
  Scene() { playback.Attach(engine, playlist, nullptr); }
  // What the UI loop does with the decisions posted to it.
  void RunPosted() {
    for (; posted > 0; --posted) playback.OnFinished(0);
  }

  FakeEngine engine;
  CGeneralPlayList playlist;
  CHistoryList history;
  ShownLog view;
  int posted = 0;
  PlayModes modes;  // all off: a run that ends plays nothing by itself
  std::vector<std::string> saved;
  PlaybackController playback{view, history,
                              {[this] { return modes; }, [this] { ++posted; },
                               [this](const std::string& path) { saved.push_back(path); }}};
};

// Each row sets the scene and asks; a run the request stopped then ends, as
// the engine reports it; the row names the files played and what still waits.
TEST(PlaybackController, WhatPlaysAfterEachRequest) {
  // repeat, automatic, from the list, random, loop, forward
  constexpr PlayModes kManual{false, false, true, false, false, true};
  constexpr PlayModes kAutomatic{false, true, true, false, false, true};
  constexpr PlayModes kRepeat{true, false, true, false, false, true};
  const std::vector<std::string> list{"/m/1.avi", "/m/2.avi", "/m/3.avi"};
  const struct {
    const char* why;
    int state;  // the engine's state when the request comes
    PlayModes modes;
    std::function<void(PlaybackController&)> request;
    std::vector<std::string> played;
    std::string pendingAfter;
  } rows[] = {
      {"an open while stopped is decided from the UI loop", ENGINE_STATE_STOPPED, kManual,
       [](PlaybackController& p) { p.RequestOpen("/m/a.avi"); }, {"/m/a.avi"}, ""},
      {"an empty path opens nothing", ENGINE_STATE_STOPPED, kManual, [](PlaybackController& p) { p.RequestOpen(""); },
       {}, ""},
      {"a stop while playing plays nothing after, even with automatic play", ENGINE_STATE_PLAYING, kAutomatic,
       [](PlaybackController& p) { p.StopPlayback(); }, {}, ""},
      {"a natural end goes on with the list with automatic play", ENGINE_STATE_STOPPED, kAutomatic,
       [](PlaybackController& p) { p.OnFinished(ENGINE_STATE_STOPPED); }, {"/m/2.avi"}, ""},
      {"a stop while stopped does not swallow the next open", ENGINE_STATE_STOPPED, kAutomatic,
       [](PlaybackController& p) { p.StopPlayback(); p.RequestOpen("/m/b.avi"); }, {"/m/b.avi"}, ""},
      {"repeat plays the engine's file again", ENGINE_STATE_STOPPED, kRepeat,
       [](PlaybackController& p) { p.OnFinished(ENGINE_STATE_STOPPED); }, {"/m/old.avi"}, ""},
      {"Next under repeat still moves on", ENGINE_STATE_PLAYING, kRepeat, [](PlaybackController& p) { p.PlayNext(); },
       {"/m/2.avi"}, ""},
      {"Previous from the first item wraps to the last", ENGINE_STATE_STOPPED, kManual,
       [](PlaybackController& p) { p.PlayPrevious(); }, {"/m/3.avi"}, ""},
      {"disc files go first; the user's file waits for them", ENGINE_STATE_STOPPED, kAutomatic,
       [](PlaybackController& p) { p.DiscQueue() = {"/cd/1.VOB", "/cd/2.VOB"}; p.RequestOpen("/m/a.avi"); },
       {"/cd/1.VOB"}, "/m/a.avi"},
      // A setting change restarted the medium: the old run's end comes late.
      {"the late end of a replaced run decides nothing", ENGINE_STATE_OPENING, kAutomatic,
       [](PlaybackController& p) { p.OnFinished(ENGINE_STATE_STOPPED); }, {}, ""},
      {"play/pause before the old run has ended leaves the old file alone", ENGINE_STATE_PLAYING, kManual,
       [](PlaybackController& p) { p.RequestOpen("/m/a.avi"); p.TogglePlayPause(); }, {"/m/a.avi"}, ""},
      {"nothing opens once closing has begun", ENGINE_STATE_PLAYING, kAutomatic,
       [](PlaybackController& p) { p.Close(); p.RequestOpen("/m/a.avi"); }, {}, ""},
  };
  for (const auto& row : rows) {
    Scene t;
    t.modes = row.modes;
    t.playback.QueueInPlayList(list);
    t.engine.file = "/m/old.avi";
    t.engine.state = row.state;
    row.request(t.playback);
    if (t.engine.state == ENGINE_STATE_STOPPED && row.state != ENGINE_STATE_STOPPED)
      t.playback.OnFinished(ENGINE_STATE_STOPPED);
    t.RunPosted();
    EXPECT_EQ(t.engine.Played(), row.played) << row.why;
    // Every PLAY names its file: a bare one would replay the old medium.
    EXPECT_EQ(t.engine.Count(ENGINE_CMD_PLAY), static_cast<int>(row.played.size())) << row.why;
    EXPECT_EQ(t.playback.PendingPath(), row.pendingAfter) << row.why;
  }
}

// What the view was told, the engine was asked and where the clock is.
std::string Describe(Scene& t) {
  std::string out;
  auto add = [&out](const std::string& item) { out += (out.empty() ? "" : ", ") + item; };
  for (const std::string& item : t.view.shown) add(item);
  for (const FakeEngine::Command& c : t.engine.commands) add("cmd " + std::to_string(c.code) + " " + std::to_string(c.arg));
  if (t.playback.PositionSeconds() != 0) add("at " + std::to_string(t.playback.PositionSeconds()));
  return out;
}

TEST(PlaybackController, EngineReportsAreShownAndKept) {
  const struct {
    const char* why;
    int state;
    std::function<void(PlaybackController&)> reports;
    const char* expected;
  } rows[] = {
      {"a resume point while opening is gone to directly", ENGINE_STATE_OPENING,
       [](PlaybackController& p) { p.OnLength(600, 120); }, "length 600 at 120, cmd 7 120, at 120"},
      {"a resume point while playing is a relative seek", ENGINE_STATE_PLAYING,
       [](PlaybackController& p) { p.OnLength(600, 120); }, "length 600 at 120, cmd 6 120, at 120"},
      {"no resume point, no seek", ENGINE_STATE_OPENING, [](PlaybackController& p) { p.OnLength(600, 0); },
       "length 600 at 0"},
      {"the engine's end resets the clock; nothing to play refreshes the menus", ENGINE_STATE_STOPPED,
       [](PlaybackController& p) { p.OnPosition(70); p.OnFinished(ENGINE_STATE_STOPPED); },
       "position 70, finished 1, menu 0"},
      {"start, volume and mute follow the engine", ENGINE_STATE_PLAYING,
       [](PlaybackController& p) {
         p.OnStarted();
         p.OnVolume(80);  // the engine's own value counts: a newer one may be queued
         p.OnMute(true);
       },
       "volume 35, started 0, volume 35, mute 1"},
  };
  for (const auto& row : rows) {
    Scene t;
    t.engine.state = row.state;
    t.engine.info.volume = 35;
    row.reports(t.playback);
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
