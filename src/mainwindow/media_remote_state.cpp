#include "mainwindow/media_remote_state.h"

#include <QMimeDatabase>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <limits>

#include "association/media_extensions.h"
#include "engine/playback_speed.h"
#include "mainwindow/time_text.h"
#include "platform/file_name.h"
#include "platform/local_files.h"

namespace {

// Position messages come once per whole second; a step of more than this
// is a seek, not playback moving on (a busy machine may skip one second).
constexpr int kLongestPlaybackStep = 2;

bool HasControlCharacter(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

// What the open dialog would take: an existing file, not a folder.
std::optional<std::string> ExistingFile(const std::string& path) {
  if (!platform::IsOpenableFile(path)) return std::nullopt;
  return path;
}

}  // namespace

void MediaRemoteState::Opened(const char* file) {
  if (!file || !*file) return;
  ++track_;
  file_ = file;
  lengthSeconds_ = 0;
  positionSeconds_ = 0;
}

void MediaRemoteState::StateChanged(int engineState) {
  // ABORTED is never kept: STOPPED follows at once.
  if (engineState >= ENGINE_STATE_OPENING && engineState <= ENGINE_STATE_STOPPED) state_ = engineState;
}

void MediaRemoteState::LengthKnown(int seconds, int resumeSeconds) {
  lengthSeconds_ = std::max(seconds, 0);
  positionSeconds_ = std::max(resumeSeconds, 0);
}

bool MediaRemoteState::PositionMoved(int seconds) {
  // Faster playback covers more seconds between two messages.
  const int longestStep = kLongestPlaybackStep * std::max(1, (speed_ + 99) / 100);
  const bool jumped = seconds < positionSeconds_ || seconds > positionSeconds_ + longestStep;
  positionSeconds_ = seconds;
  return jumped;
}

void MediaRemoteState::VolumeChanged(int volume) { volume_ = std::clamp(volume, 0, 100); }

void MediaRemoteState::SpeedChanged(int speed) { speed_ = ClampSpeed(speed); }

void MediaRemoteState::Finished() { positionSeconds_ = 0; }

void MediaRemoteState::CatchUp(int engineState, const char* file, int lengthSeconds) {
  StateChanged(engineState);
  if (!file || !*file || (track_ != 0 && file_ == file)) return;
  Opened(file);
  lengthSeconds_ = std::max(lengthSeconds, 0);
}

std::string MediaRemoteState::TrackId() const {
  return track_ == 0 ? std::string() : "/org/kinovue/Track/" + std::to_string(track_);
}

platform::MediaRemoteStatus MediaRemoteState::Status(bool hasMedia, bool listHasItems) const {
  platform::MediaRemoteStatus status;
  status.playbackStatus = PlaybackStatusText(state_);
  status.trackId = TrackId();
  if (track_ != 0) {
    status.lengthUs = Microseconds(lengthSeconds_);
    status.title = MediaDisplayName(file_.c_str());
    status.url = MediaUrl(file_);
  }
  status.positionUs = Microseconds(positionSeconds_);
  status.volume = volume_ / 100.0;
  const bool running = state_ == ENGINE_STATE_PLAYING || state_ == ENGINE_STATE_PAUSED;
  status.canPlay = hasMedia || state_ == ENGINE_STATE_PAUSED;
  status.canPause = running;
  status.canSeek = running && lengthSeconds_ > 0;
  status.canGoNext = listHasItems;
  status.canGoPrevious = listHasItems;
  status.rate = speed_ / 100.0;
  status.fullScreen = fullScreen_;
  return status;
}

std::optional<int> MediaRemoteState::PositionTarget(const std::string& trackId, std::int64_t positionUs) const {
  // A request for a track that has already been left is stale: ignored.
  if (track_ == 0 || trackId != TrackId()) return std::nullopt;
  if (positionUs < 0 || positionUs > Microseconds(lengthSeconds_)) return std::nullopt;
  return WholeSeconds(positionUs);
}

const char* PlaybackStatusText(int engineState) {
  switch (engineState) {
    case ENGINE_STATE_OPENING:
    case ENGINE_STATE_PLAYING: return "Playing";
    case ENGINE_STATE_PAUSED: return "Paused";
    default: return "Stopped";
  }
}

std::int64_t Microseconds(int seconds) { return static_cast<std::int64_t>(seconds) * 1000000; }

int WholeSeconds(std::int64_t microseconds) {
  const long double seconds = std::round(static_cast<long double>(microseconds) / 1e6L);
  return static_cast<int>(std::clamp<long double>(seconds, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

platform::MediaRemoteRates MediaRemoteRateRange() { return {kSlowestSpeed / 100.0, kFastestSpeed / 100.0}; }

std::optional<int> VolumePercent(double volume) {
  if (std::isnan(volume)) return std::nullopt;
  return static_cast<int>(std::lround(std::clamp(volume, 0.0, 1.0) * 100.0));
}

const std::vector<std::string>& MediaUriSchemes() {
  static const std::vector<std::string> kSchemes{"file", "http", "https", "ftp", "mms", "rtsp"};
  return kSchemes;
}

std::optional<std::string> OpenablePath(const std::string& uri) {
  if (uri.empty() || uri.size() > platform::kMaxPathBytes || HasControlCharacter(uri)) return std::nullopt;
  if (uri.front() == '/') return ExistingFile(uri);
  const QUrl url(QString::fromStdString(uri), QUrl::StrictMode);
  if (!url.isValid()) return std::nullopt;
  const std::string scheme = url.scheme().toLower().toStdString();
  if (scheme == "file") {
    const std::optional<std::string> path = platform::LocalPathOfFileUrl(url);
    return path ? ExistingFile(*path) : std::nullopt;
  }
  const auto& schemes = MediaUriSchemes();
  if (std::find(schemes.begin(), schemes.end(), scheme) == schemes.end() || url.host().isEmpty())
    return std::nullopt;
  return uri;
}

std::string MediaUrl(const std::string& file) {
  if (file.find("://") != std::string::npos) return file;
  return QUrl::fromLocalFile(QString::fromStdString(file)).toString(QUrl::FullyEncoded).toStdString();
}

std::vector<std::string> MediaMimeTypes() {
  const QMimeDatabase database;
  std::vector<std::string> types;
  for (const MediaExtension& row : kMediaExtensionTable) {
    for (const QMimeType& type : database.mimeTypesForFileName(QString("media") + row.extension)) {
      // Only what can be played: ".ts" is also a translation file's extension.
      if (type.name().startsWith("audio/") || type.name().startsWith("video/") ||
          type.name().startsWith("application/"))
        types.push_back(type.name().toStdString());
    }
  }
  std::sort(types.begin(), types.end());
  types.erase(std::unique(types.begin(), types.end()), types.end());
  return types;
}
