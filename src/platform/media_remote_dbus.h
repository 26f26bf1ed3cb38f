#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// What the desktop's media controls are shown of the player, in the units
// the session bus carries (microseconds, volume 0..1).
struct MediaRemoteStatus {
  std::string playbackStatus = "Stopped";  // "Playing", "Paused" or "Stopped"
  std::string trackId;                     // object path of the current track; empty: no track
  std::int64_t lengthUs = 0;               // 0: not known
  std::string title;
  std::string url;
  std::int64_t positionUs = 0;
  double volume = 0.0;
  bool canPlay = false;
  bool canPause = false;
  bool canSeek = false;
  bool canGoNext = false;
  bool canGoPrevious = false;
  double rate = 1.0;        // playback speed, 1.0 normal
  bool fullScreen = false;  // the root interface's Fullscreen
  bool operator==(const MediaRemoteStatus&) const = default;
};

// The player's fixed description.
struct MediaRemoteIdentity {
  std::string identity;      // the name shown to the user
  std::string desktopEntry;  // base name of the program's .desktop file
  std::vector<std::string> uriSchemes;
  std::vector<std::string> mimeTypes;
};

// What the desktop asks of the player. Each runs on the thread that owns the
// bus object (the UI thread), from its event loop; an empty one does nothing.
struct MediaRemoteRequests {
  std::function<void()> raise, quit, play, pause, playPause, stop, next, previous;
  std::function<void(std::int64_t offsetUs)> seek;
  std::function<void(const std::string& trackId, std::int64_t positionUs)> setPosition;
  std::function<void(const std::string& uri)> openUri;
  std::function<void(double volume)> setVolume;
  std::function<void(double rate)> setRate;
  std::function<void(bool on)> setFullScreen;
};

// The range of rates the player offers (MinimumRate, MaximumRate).
struct MediaRemoteRates {
  double minimum = 1.0;
  double maximum = 1.0;
};

// The Player property names whose values differ between two states, in a
// fixed order. Position is never among them: clients ask for it, it is not
// announced.
std::vector<std::string> ChangedPlayerProperties(const MediaRemoteStatus& before, const MediaRemoteStatus& after);

// The same for the root interface (Fullscreen).
std::vector<std::string> ChangedRootProperties(const MediaRemoteStatus& before, const MediaRemoteStatus& after);

// Publishes the player on the session bus as "org.mpris.MediaPlayer2.<name>"
// (or, when that name is taken, "<...>.instance<pid>") with the root and the
// Player interfaces. Without an announced session bus
// (DBUS_SESSION_BUS_ADDRESS) or when the bus refuses, nothing is published,
// no bus daemon is launched and every call does nothing. UI thread only.
class MediaRemoteBus {
 public:
  MediaRemoteBus(const std::string& name, MediaRemoteIdentity identity, MediaRemoteRequests requests,
                 MediaRemoteRates rates = {});
  ~MediaRemoteBus();
  MediaRemoteBus(const MediaRemoteBus&) = delete;
  MediaRemoteBus& operator=(const MediaRemoteBus&) = delete;

  bool Published() const;
  // The bus name held; empty when nothing is published.
  std::string ServiceName() const;
  // Takes the new state; sends PropertiesChanged with the properties that
  // differ from the last one shown, for each interface that has some.
  void Show(const MediaRemoteStatus& status);
  // Sends Seeked: the position jumped rather than moved on with playback.
  void AnnounceSeek(std::int64_t positionUs);

  struct Object;

 private:
  std::unique_ptr<Object> object_;
};

}  // namespace platform
