#include "mainwindow/media_remote_link.h"

#include <utility>

#include "engine/engine_types.h"
#include "engine/playback_speed.h"
#include "mainwindow/command_ids.h"

MediaRemoteLink::MediaRemoteLink() = default;
MediaRemoteLink::~MediaRemoteLink() = default;

bool MediaRemoteLink::Live() const { return bus_ && bus_->Published(); }

int MediaRemoteLink::EngineState() const {
  CPlayerEngine* engine = player_.engine();
  return engine ? engine->GetState() : ENGINE_STATE_STOPPED;
}

platform::MediaRemoteRequests MediaRemoteLink::Requests() {
  platform::MediaRemoteRequests requests;
  requests.raise = [this] { player_.raise(); };
  requests.quit = [this] { player_.command(ID_EXIT); };
  requests.play = [this] { player_.command(ID_PLAY); };
  // The engine's pause toggles: asked to pause, a paused player stays paused.
  requests.pause = [this] {
    if (EngineState() == ENGINE_STATE_PLAYING) player_.command(ID_PAUSE);
  };
  requests.playPause = [this] { player_.playPause(); };
  requests.stop = [this] { player_.stop(); };
  // With nowhere to go (CanGoNext false) Next must not stop what plays.
  requests.next = [this] {
    if (player_.listHasItems()) player_.next();
  };
  requests.previous = [this] {
    if (player_.listHasItems()) player_.previous();
  };
  requests.seek = [this](std::int64_t offsetUs) {
    if (const int seconds = WholeSeconds(offsetUs)) player_.seekBy(seconds);
  };
  requests.setPosition = [this](const std::string& trackId, std::int64_t positionUs) {
    if (const std::optional<int> target = state_.PositionTarget(trackId, positionUs)) player_.seekTo(*target);
  };
  requests.openUri = [this](const std::string& uri) {
    if (const std::optional<std::string> path = OpenablePath(uri)) player_.open(*path);
  };
  requests.setVolume = [this](double volume) {
    if (const std::optional<int> percent = VolumePercent(volume)) player_.setVolume(*percent);
  };
  requests.setRate = [this](double rate) {
    // A rate of 0 asks for a pause; a rate outside the range offered is not taken.
    if (rate == 0.0) {
      if (EngineState() == ENGINE_STATE_PLAYING) player_.command(ID_PAUSE);
    } else if (const std::optional<int> speed = SpeedOfRate(rate)) {
      player_.setSpeed(*speed);
    }
  };
  requests.setFullScreen = [this](bool on) { player_.setFullScreen(on); };
  return requests;
}

void MediaRemoteLink::Publish(Player player) {
  player_ = std::move(player);
  platform::MediaRemoteIdentity identity{"Kinovue", "kinovue", MediaUriSchemes(), MediaMimeTypes()};
  bus_ = std::make_unique<platform::MediaRemoteBus>("kinovue", std::move(identity), Requests(), MediaRemoteRateRange());
  // A file given at start is opened before the controls are published: they
  // start from what the engine is doing now, not from its later reports.
  if (CPlayerEngine* engine = player_.engine()) {
    EngineInfo info;
    engine->GetInfo(&info);
    state_.CatchUp(engine->GetState(), info.hasMedia ? info.file : nullptr, engine->GetLength());
    state_.VolumeChanged(info.volume);
    state_.SpeedChanged(info.speed);
  }
  Show();
}

void MediaRemoteLink::OnOpen(const char* file) {
  if (!Live()) return;
  state_.Opened(file);
  Show();
}

void MediaRemoteLink::OnState(int engineState) {
  if (!Live()) return;
  state_.StateChanged(engineState);
  Show();
}

void MediaRemoteLink::OnLength(int seconds, int resumeSeconds) {
  if (!Live()) return;
  state_.LengthKnown(seconds, resumeSeconds);
  Show();
}

void MediaRemoteLink::OnPosition(int seconds) {
  if (!Live()) return;
  Show(state_.PositionMoved(seconds));
}

void MediaRemoteLink::OnVolume(int volume) {
  if (!Live()) return;
  state_.VolumeChanged(volume);
  Show();
}

void MediaRemoteLink::OnSetting(const EngineSetting& setting) {
  if (!Live() || setting.kind != ENGINE_SETTING_SPEED) return;
  state_.SpeedChanged(setting.value);
  Show();
}

void MediaRemoteLink::OnFinished(int) {
  if (!Live()) return;
  state_.Finished();
  Show();
}

void MediaRemoteLink::OnFullScreen(bool on) {
  state_.FullScreenChanged(on);
  Show();
}

void MediaRemoteLink::Show(bool jumped) {
  if (!Live()) return;
  EngineInfo info;
  if (CPlayerEngine* engine = player_.engine()) engine->GetInfo(&info);
  const platform::MediaRemoteStatus status = state_.Status(info.hasMedia, player_.listHasItems());
  bus_->Show(status);
  if (jumped) bus_->AnnounceSeek(status.positionUs);
}
