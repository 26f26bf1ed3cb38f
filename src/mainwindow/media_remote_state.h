#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/engine_types.h"
#include "platform/media_remote_dbus.h"

// What the desktop's media controls are told about playback, kept from the
// engine's messages alone: status, the current track (a fresh id per opened
// run), its length, the last known position and the volume.
class MediaRemoteState {
 public:
  // A run was announced with this file (null: none): a new track.
  void Opened(const char* file);
  void StateChanged(int engineState);
  void LengthKnown(int seconds, int resumeSeconds);
  // A new whole second of playback. True when the position jumped (a seek)
  // rather than moved on with playback.
  bool PositionMoved(int seconds);
  void VolumeChanged(int volume);
  // Percent of normal speed.
  void SpeedChanged(int speed);
  void FullScreenChanged(bool on) { fullScreen_ = on; }
  // The run ended: back at the start.
  void Finished();
  // Takes the engine's current state, file and length as they are now (the
  // messages that announced them came before anyone listened). A file seen
  // for the first time is a new track; nothing changes for the one known.
  void CatchUp(int engineState, const char* file, int lengthSeconds);

  // hasMedia: the engine holds a file it can play again; listHasItems: Next
  // and Previous have somewhere to go.
  platform::MediaRemoteStatus Status(bool hasMedia, bool listHasItems) const;
  // The whole second a SetPosition request goes to: only for the current
  // track and within 0..length.
  std::optional<int> PositionTarget(const std::string& trackId, std::int64_t positionUs) const;

 private:
  std::string TrackId() const;

  int state_ = ENGINE_STATE_STOPPED;
  unsigned track_ = 0;  // 0: no track yet
  std::string file_;
  int lengthSeconds_ = 0;
  int positionSeconds_ = 0;
  int volume_ = 0;
  int speed_ = 100;
  bool fullScreen_ = false;
};

// "Playing", "Paused" or "Stopped" for an engine state; a run that is still
// opening counts as playing (the user asked for it to play).
const char* PlaybackStatusText(int engineState);
std::int64_t Microseconds(int seconds);
// Nearest whole second, within the range of int.
int WholeSeconds(std::int64_t microseconds);
// The rates the player offers: its slowest and fastest speed.
platform::MediaRemoteRates MediaRemoteRateRange();
// The engine's volume 0..100 for a bus volume 0..1 (beyond clamped); none
// for a value that is not a number.
std::optional<int> VolumePercent(double volume);

// The URL schemes the engine opens besides local files.
const std::vector<std::string>& MediaUriSchemes();
// What to open for a URI from the desktop: a local file URL's path, a plain
// absolute path, an address of a scheme the engine streams; nothing for
// anything else (other hosts' files, relative paths, control characters, and
// what the open dialog would not take: folders, files that do not exist).
std::optional<std::string> OpenablePath(const std::string& uri);
// The URL of an opened medium: a local path as a "file://" URL, an address
// as it was given.
std::string MediaUrl(const std::string& file);
// The audio, video and container MIME types of the media extension table,
// sorted, each once.
std::vector<std::string> MediaMimeTypes();
