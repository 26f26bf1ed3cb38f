#include <gtest/gtest.h>

#include "core_app.h"
#include "platform/media_remote_dbus.h"

using platform::MediaRemoteBus;
using platform::MediaRemoteStatus;

namespace {

TEST(MediaRemoteBus, ChangedPropertiesNameWhatDiffersButNeverThePosition) {
  using Change = std::function<void(MediaRemoteStatus&)>;
  const std::vector<std::pair<Change, std::vector<std::string>>> rows{
      {[](MediaRemoteStatus& s) { s.positionUs = 5000000; }, {}},
      {[](MediaRemoteStatus& s) { s.playbackStatus = "Paused"; }, {"PlaybackStatus"}},
      {[](MediaRemoteStatus& s) { s.trackId = "/org/kinovue/Track/2"; }, {"Metadata"}},
      {[](MediaRemoteStatus& s) { s.lengthUs = 1; }, {"Metadata"}},
      {[](MediaRemoteStatus& s) { s.url = "file:///b"; }, {"Metadata"}},
      {[](MediaRemoteStatus& s) { s.volume = 0.5, s.canSeek = true, s.title = "b"; }, {"Metadata", "Volume", "CanSeek"}},
      {[](MediaRemoteStatus& s) { s.canPlay = s.canPause = s.canGoNext = s.canGoPrevious = true; },
       {"CanPlay", "CanPause", "CanGoNext", "CanGoPrevious"}},
      {[](MediaRemoteStatus& s) { s.rate = 1.5; }, {"Rate"}},
      {[](MediaRemoteStatus& s) { s.fullScreen = true; }, {}},  // the root interface's
  };
  for (const auto& [change, names] : rows) {
    MediaRemoteStatus before;
    before.trackId = "/org/kinovue/Track/1";
    MediaRemoteStatus after = before;
    change(after);
    EXPECT_EQ(platform::ChangedPlayerProperties(before, after), names);
    EXPECT_EQ(platform::ChangedRootProperties(before, after),
              after.fullScreen ? std::vector<std::string>{"Fullscreen"} : std::vector<std::string>{});
  }
}

TEST(MediaRemoteBus, WithoutASessionBusNothingIsPublishedAndNothingFails) {
  testsupport::CoreApp();
  qunsetenv("DBUS_SESSION_BUS_ADDRESS");
  bool called = false;
  platform::MediaRemoteRequests requests;
  requests.play = [&] { called = true; };
  MediaRemoteBus bus("kinovue", {}, requests);
  EXPECT_FALSE(bus.Published());
  EXPECT_EQ(bus.ServiceName(), "");
  bus.Show(MediaRemoteStatus{});
  bus.AnnounceSeek(1);
  EXPECT_FALSE(called);
}

}  // namespace
