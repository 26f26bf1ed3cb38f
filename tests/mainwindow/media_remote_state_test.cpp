#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "mainwindow/media_remote_state.h"

namespace {

TEST(MediaRemoteState, EngineMessagesMakeStatusTrackAndAbilities) {
  struct Row {
    const char* what;
    std::function<void(MediaRemoteState&)> messages;
    bool hasMedia;
    platform::MediaRemoteStatus want;
  };
  auto status = [](const char* playback, const char* track, std::int64_t lengthUs, std::int64_t positionUs,
                   bool canPlay, bool canPause, bool canSeek) {
    platform::MediaRemoteStatus s;
    s.playbackStatus = playback;
    s.trackId = track;
    if (*track) {
      s.title = "a b.avi";
      s.url = "file:///m/a%20b.avi";
    }
    s.lengthUs = lengthUs;
    s.positionUs = positionUs;
    s.volume = 0.4;
    s.canPlay = canPlay;
    s.canPause = canPause;
    s.canSeek = canSeek;
    s.canGoNext = s.canGoPrevious = true;
    return s;
  };
  const std::vector<Row> rows{
      {"nothing opened", [](MediaRemoteState&) {}, false, status("Stopped", "", 0, 0, false, false, false)},
      {"opening", [](MediaRemoteState& m) { m.Opened("/m/a b.avi"); m.StateChanged(ENGINE_STATE_OPENING); },
       true, status("Playing", "/org/kinovue/Track/1", 0, 0, true, false, false)},
      {"playing with a length",
       [](MediaRemoteState& m) {
         m.Opened("/m/a b.avi");
         m.LengthKnown(25, 0);
         m.StateChanged(ENGINE_STATE_PLAYING);
         m.PositionMoved(3);
       },
       true, status("Playing", "/org/kinovue/Track/1", 25000000, 3000000, true, true, true)},
      {"paused", [](MediaRemoteState& m) { m.Opened("/m/a b.avi"); m.LengthKnown(25, 7); m.StateChanged(ENGINE_STATE_PAUSED); },
       false, status("Paused", "/org/kinovue/Track/1", 25000000, 7000000, true, true, true)},
      {"a stream without length cannot seek",
       [](MediaRemoteState& m) { m.Opened("/m/a b.avi"); m.StateChanged(ENGINE_STATE_PLAYING); },
       true, status("Playing", "/org/kinovue/Track/1", 0, 0, true, true, false)},
      {"an early end: aborted then stopped, back at the start",
       [](MediaRemoteState& m) {
         m.Opened("/m/a b.avi");
         m.LengthKnown(25, 0);
         m.StateChanged(ENGINE_STATE_PLAYING);
         m.PositionMoved(9);
         m.StateChanged(ENGINE_STATE_ABORTED);
         m.StateChanged(ENGINE_STATE_STOPPED);
         m.Finished();
       },
       true, status("Stopped", "/org/kinovue/Track/1", 25000000, 0, true, false, false)},
      {"every run is a new track; a failed open keeps the last",
       [](MediaRemoteState& m) { m.Opened("/m/x.avi"); m.Opened("/m/a b.avi"); m.Opened(nullptr); },
       true, status("Stopped", "/org/kinovue/Track/2", 0, 0, true, false, false)},
  };
  for (const Row& row : rows) {
    MediaRemoteState state;
    state.VolumeChanged(40);
    row.messages(state);
    EXPECT_EQ(state.Status(row.hasMedia, true), row.want) << row.what;
  }
}

TEST(MediaRemoteState, OnlyAJumpOfThePositionIsASeek) {
  struct Row {
    int from, to;
    bool jumped;
  };
  for (const Row& row : std::vector<Row>{{0, 1, false}, {5, 5, false}, {5, 7, false}, {5, 8, true}, {5, 4, true}, {20, 0, true}}) {
    MediaRemoteState state;
    state.LengthKnown(60, row.from);
    EXPECT_EQ(state.PositionMoved(row.to), row.jumped) << row.from << " -> " << row.to;
  }
}

TEST(MediaRemoteState, SetPositionGoesOnlyWithinTheCurrentTrack) {
  MediaRemoteState state;
  EXPECT_EQ(state.PositionTarget("/org/kinovue/Track/0", 0), std::nullopt);
  state.Opened("/m/old.avi");
  state.Opened("/m/a.avi");
  state.LengthKnown(25, 0);
  struct Row {
    const char* track;
    std::int64_t positionUs;
    std::optional<int> want;
  };
  for (const Row& row : std::vector<Row>{{"/org/kinovue/Track/2", 12000000, 12},
                                         {"/org/kinovue/Track/2", 2600000, 3},
                                         {"/org/kinovue/Track/2", 25000000, 25},
                                         {"/org/kinovue/Track/2", 25000001, std::nullopt},
                                         {"/org/kinovue/Track/2", -1, std::nullopt},
                                         {"/org/kinovue/Track/1", 1000000, std::nullopt},
                                         {"/org/mpris/MediaPlayer2/TrackList/NoTrack", 0, std::nullopt}})
    EXPECT_EQ(state.PositionTarget(row.track, row.positionUs), row.want) << row.track << " " << row.positionUs;
}

TEST(MediaRemoteConversions, UnitsAreConvertedAndBoundedForTheEngine) {
  EXPECT_EQ(WholeSeconds(1499999), 1);
  EXPECT_EQ(WholeSeconds(-2500000), -3);
  EXPECT_EQ(WholeSeconds(std::numeric_limits<std::int64_t>::max()), std::numeric_limits<int>::max());
  EXPECT_EQ(WholeSeconds(std::numeric_limits<std::int64_t>::min()), std::numeric_limits<int>::min());
  EXPECT_EQ(Microseconds(std::numeric_limits<int>::max()), 2147483647000000LL);
  struct Row {
    double volume;
    std::optional<int> percent;
  };
  for (const Row& row : std::vector<Row>{{0.3, 30}, {0.004, 0}, {1.5, 100}, {-2, 0}, {std::nan(""), std::nullopt},
                                         {std::numeric_limits<double>::infinity(), 100}})
    EXPECT_EQ(VolumePercent(row.volume), row.percent) << row.volume;
}

TEST(MediaRemoteConversions, OnlyLocalFilesAndStreamedAddressesAreOpened) {
  struct Row {
    std::string uri;
    std::optional<std::string> path;
  };
  const std::vector<Row> rows{
      {"/m/a b.avi", "/m/a b.avi"},
      {"file:///m/a%20b.avi", "/m/a b.avi"},
      {"file://localhost/m/%E4%B8%AD.mp3", "/m/中.mp3"},
      {"FILE:///m/a.avi", "/m/a.avi"},
      {"http://127.0.0.1:8080/v.flv", "http://127.0.0.1:8080/v.flv"},
      {"mms://host/live", "mms://host/live"},
      {"file://other/m/a.avi", std::nullopt},
      {"file:///m/a%0Ab.avi", std::nullopt},
      {"/m/a\nb.avi", std::nullopt},
      {"http:///nohost", std::nullopt},
      {"smb://host/share/a.avi", std::nullopt},
      {"javascript:alert(1)", std::nullopt},
      {"a.avi", std::nullopt},
      {"", std::nullopt},
  };
  for (const Row& row : rows) EXPECT_EQ(OpenablePath(row.uri), row.path) << row.uri;
  EXPECT_EQ(MediaUrl("/m/中 a.avi"), "file:///m/%E4%B8%AD%20a.avi");
  EXPECT_EQ(MediaUrl("http://h/a b"), "http://h/a b");
}

TEST(MediaRemoteConversions, MimeTypesComeFromTheMediaTable) {
  const std::vector<std::string> types = MediaMimeTypes();
  EXPECT_TRUE(std::is_sorted(types.begin(), types.end()));
  EXPECT_EQ(std::adjacent_find(types.begin(), types.end()), types.end());
  for (const char* type : {"video/x-msvideo", "audio/mpeg", "video/x-matroska", "video/mp4"})
    EXPECT_NE(std::find(types.begin(), types.end(), type), types.end()) << type;
  EXPECT_EQ(std::find(types.begin(), types.end(), "application/octet-stream"), types.end());
}

}  // namespace
