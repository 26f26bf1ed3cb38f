#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <tuple>

#include "mainwindow/media_remote_state.h"
#include "temp_dir.h"

namespace {

TEST(MediaRemoteState, EngineMessagesMakeStatusTrackAndAbilities) {
  struct Row {
    const char* what;
    std::function<void(MediaRemoteState&)> messages;
    bool hasMedia;
    const char* playback;
    const char* track;
    int lengthSeconds, positionSeconds;
    bool canPlay, canPause, canSeek;
  };
  const char* first = "/org/kinovue/Track/1";
  const std::vector<Row> rows{
      {"nothing opened", [](MediaRemoteState&) {}, false, "Stopped", "", 0, 0, false, false, false},
      {"opening", [](MediaRemoteState& m) { m.Opened("/m/a b.avi"), m.StateChanged(ENGINE_STATE_OPENING); }, true,
       "Playing", first, 0, 0, true, false, false},
      {"playing with a length",
       [](MediaRemoteState& m) {
         m.Opened("/m/a b.avi"), m.LengthKnown(25, 0), m.StateChanged(ENGINE_STATE_PLAYING), m.PositionMoved(3);
       },
       true, "Playing", first, 25, 3, true, true, true},
      {"paused after a resume",
       [](MediaRemoteState& m) { m.Opened("/m/a b.avi"), m.LengthKnown(25, 7), m.StateChanged(ENGINE_STATE_PAUSED); },
       false, "Paused", first, 25, 7, true, true, true},
      {"a stream without length cannot seek",
       [](MediaRemoteState& m) { m.Opened("/m/a b.avi"), m.StateChanged(ENGINE_STATE_PLAYING); }, true, "Playing",
       first, 0, 0, true, true, false},
      {"an early end: aborted then stopped, back at the start",
       [](MediaRemoteState& m) {
         m.Opened("/m/a b.avi"), m.LengthKnown(25, 0), m.StateChanged(ENGINE_STATE_PLAYING), m.PositionMoved(9);
         m.StateChanged(ENGINE_STATE_ABORTED), m.StateChanged(ENGINE_STATE_STOPPED), m.Finished();
       },
       true, "Stopped", first, 25, 0, true, false, false},
      {"every run is a new track; a failed open keeps the last",
       [](MediaRemoteState& m) { m.Opened("/m/x.avi"), m.Opened("/m/a b.avi"), m.Opened(nullptr); }, true,
       "Stopped", "/org/kinovue/Track/2", 0, 0, true, false, false},
      // Published after the first file was opened: taken from the engine.
      {"caught up with a run announced before anyone listened",
       [](MediaRemoteState& m) { m.CatchUp(ENGINE_STATE_OPENING, "/m/a b.avi", 25); }, true, "Playing", first, 25, 0,
       true, false, false},
      {"catching up with the known file is no new track",
       [](MediaRemoteState& m) {
         m.Opened("/m/a b.avi"), m.LengthKnown(25, 4), m.CatchUp(ENGINE_STATE_PAUSED, "/m/a b.avi", 25);
       },
       true, "Paused", first, 25, 4, true, true, true},
      {"catching up with an engine that never opened anything",
       [](MediaRemoteState& m) { m.CatchUp(ENGINE_STATE_STOPPED, nullptr, 0); }, false, "Stopped", "", 0, 0, false,
       false, false},
  };
  for (const Row& row : rows) {
    MediaRemoteState state;
    state.VolumeChanged(40);
    row.messages(state);
    platform::MediaRemoteStatus want;
    want.playbackStatus = row.playback;
    want.trackId = row.track;
    if (*row.track) want.title = "a b.avi", want.url = "file:///m/a%20b.avi";
    want.lengthUs = row.lengthSeconds * 1000000LL;
    want.positionUs = row.positionSeconds * 1000000LL;
    want.volume = 0.4;
    want.canPlay = row.canPlay, want.canPause = row.canPause, want.canSeek = row.canSeek;
    want.canGoNext = want.canGoPrevious = true;
    EXPECT_EQ(state.Status(row.hasMedia, true), want) << row.what;
  }
}

TEST(MediaRemoteState, OnlyAJumpOfThePositionIsASeek) {
  // speed, from, to, jumped: faster playback moves further between messages.
  const std::vector<std::tuple<int, int, int, bool>> rows{
      {100, 0, 1, false}, {100, 5, 5, false}, {100, 5, 7, false}, {100, 5, 8, true}, {100, 5, 4, true},
      {100, 20, 0, true}, {200, 5, 9, false}, {200, 5, 10, true}, {50, 5, 8, true}};
  for (const auto& [speed, from, to, jumped] : rows) {
    MediaRemoteState state;
    state.SpeedChanged(speed);
    state.LengthKnown(60, from);
    EXPECT_EQ(state.PositionMoved(to), jumped) << speed << ": " << from << " -> " << to;
  }
  MediaRemoteState state;
  state.SpeedChanged(150);
  state.FullScreenChanged(true);
  EXPECT_EQ(state.Status(false, false).rate, 1.5);
  EXPECT_TRUE(state.Status(false, false).fullScreen);
}

TEST(MediaRemoteState, SetPositionGoesOnlyWithinTheCurrentTrack) {
  MediaRemoteState state;
  EXPECT_EQ(state.PositionTarget("/org/kinovue/Track/0", 0), std::nullopt);
  state.Opened("/m/old.avi");
  state.Opened("/m/a.avi");
  state.LengthKnown(25, 0);
  const std::string current = "/org/kinovue/Track/2";
  const std::vector<std::tuple<std::string, std::int64_t, std::optional<int>>> rows{
      {current, 12000000, 12}, {current, 2600000, 3}, {current, 25000000, 25}, {current, 25000001, std::nullopt},
      {current, -1, std::nullopt}, {"/org/kinovue/Track/1", 1000000, std::nullopt},
      {"/org/mpris/MediaPlayer2/TrackList/NoTrack", 0, std::nullopt}};
  for (const auto& [track, positionUs, want] : rows)
    EXPECT_EQ(state.PositionTarget(track, positionUs), want) << track << " " << positionUs;
}

TEST(MediaRemoteConversions, UnitsAreConvertedAndBoundedForTheEngine) {
  EXPECT_EQ(WholeSeconds(1499999), 1);
  EXPECT_EQ(WholeSeconds(-2500000), -3);
  EXPECT_EQ(WholeSeconds(std::numeric_limits<std::int64_t>::max()), std::numeric_limits<int>::max());
  EXPECT_EQ(Microseconds(std::numeric_limits<int>::max()), 2147483647000000LL);
  const std::vector<std::pair<double, std::optional<int>>> volumes{
      {0.3, 30}, {0.004, 0}, {1.5, 100}, {-2, 0}, {std::nan(""), std::nullopt}, {HUGE_VAL, 100}};
  for (const auto& [volume, percent] : volumes) EXPECT_EQ(VolumePercent(volume), percent) << volume;
}

TEST(MediaRemoteConversions, OnlyLocalFilesAndStreamedAddressesAreOpened) {
  testsupport::TempDir m;
  // "\xd6\xd0.mp3": a GBK name, which is no UTF-8 text.
  for (const char* name : {"a b.avi", "中.mp3", "a.avi", "\xd6\xd0.mp3"})
    ASSERT_TRUE(testsupport::WriteFileBytes(m.File(name), "x"));
  const std::string d = m.Path();
  const std::vector<std::pair<std::string, std::optional<std::string>>> rows{
      {d + "/a b.avi", d + "/a b.avi"}, {"file://" + d + "/a%20b.avi", d + "/a b.avi"},
      {"file://localhost" + d + "/%E4%B8%AD.mp3", d + "/中.mp3"}, {"FILE://" + d + "/a.avi", d + "/a.avi"},
      {"file://" + d + "/%D6%D0.mp3", d + "/\xd6\xd0.mp3"},
      {"http://127.0.0.1:8080/v.flv", "http://127.0.0.1:8080/v.flv"}, {"mms://host/live", "mms://host/live"},
      {"file://other" + d + "/a.avi", std::nullopt}, {"file://" + d + "/a%0Ab.avi", std::nullopt},
      {d + "/a\nb.avi", std::nullopt}, {"http:///nohost", std::nullopt}, {"smb://host/share/a.avi", std::nullopt},
      {"javascript:alert(1)", std::nullopt}, {"a.avi", std::nullopt}, {"", std::nullopt},
      {"http://h/" + std::string(4087, 'x'), std::nullopt},  // longer than a stored path may be
      {"http://h/" + std::string(4086, 'x'), "http://h/" + std::string(4086, 'x')},
      // What the open dialog would not take either: folders, missing files.
      {"file:///", std::nullopt}, {"/", std::nullopt}, {"file://" + d, std::nullopt}, {d + "/", std::nullopt},
      {d + "/gone.avi", std::nullopt}};
  for (const auto& [uri, path] : rows) EXPECT_EQ(OpenablePath(uri), path) << uri;
  EXPECT_EQ(MediaUrl("/m/中 a.avi"), "file:///m/%E4%B8%AD%20a.avi");
  EXPECT_EQ(MediaUrl("http://h/a b"), "http://h/a b");
}

TEST(MediaRemoteConversions, MimeTypesComeFromTheMediaTable) {
  const std::vector<std::string> types = MediaMimeTypes();
  EXPECT_TRUE(std::is_sorted(types.begin(), types.end()));
  EXPECT_EQ(std::adjacent_find(types.begin(), types.end()), types.end());
  for (const char* type : {"video/x-msvideo", "audio/mpeg", "video/x-matroska", "video/mp4"})
    EXPECT_NE(std::find(types.begin(), types.end(), type), types.end()) << type;
  for (const char* type : {"application/octet-stream", "text/vnd.trolltech.linguist"})
    EXPECT_EQ(std::find(types.begin(), types.end(), type), types.end()) << type;
}

}  // namespace
