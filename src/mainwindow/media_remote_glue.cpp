// The desktop's media controls (media keys, panels, headsets): their
// requests become the window's own commands, and the engine's messages keep
// what they are shown.
#include "engine/playback_speed.h"
#include "mainwindow/command_ids.h"
#include "mainwindow/kinovue_dlg.h"

void CKinovueDlg::PublishMediaRemote() {
  platform::MediaRemoteIdentity identity{"Kinovue", "kinovue", MediaUriSchemes(), MediaMimeTypes()};
  platform::MediaRemoteRequests requests;
  requests.raise = [this] {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
  };
  requests.quit = [this] { OnCommand(ID_EXIT); };
  requests.play = [this] { OnCommand(ID_PLAY); };
  // The engine's pause toggles: asked to pause, a paused player stays paused.
  requests.pause = [this] {
    if (CurrentEngineState() == ENGINE_STATE_PLAYING) OnCommand(ID_PAUSE);
  };
  requests.playPause = [this] { TogglePlayPause(); };
  requests.stop = [this] { StopPlayback(); };
  // With nowhere to go (CanGoNext false) Next must not stop what plays.
  requests.next = [this] {
    if (playlist_ && playlist_->Count() > 0) PlayNext();
  };
  requests.previous = [this] {
    if (playlist_ && playlist_->Count() > 0) PlayPrevious();
  };
  requests.seek = [this](std::int64_t offsetUs) {
    if (const int seconds = WholeSeconds(offsetUs)) SeekBy(seconds);
  };
  requests.setPosition = [this](const std::string& trackId, std::int64_t positionUs) {
    const std::optional<int> target = mediaRemoteState_.PositionTarget(trackId, positionUs);
    if (!target) return;
    // As the go-to dialog does.
    controlPanel_.SetSeekBase(*target);
    playback_.SeekTo(*target);
  };
  requests.openUri = [this](const std::string& uri) {
    const std::optional<std::string> path = OpenablePath(uri);
    if (!path) return;
    playback_.OpenChosen(*path);
  };
  requests.setVolume = [this](double volume) {
    if (const std::optional<int> percent = VolumePercent(volume)) SetVolume(*percent);
  };
  requests.setRate = [this](double rate) {
    // A rate of 0 asks for a pause; a rate outside the range offered is not taken.
    if (rate == 0.0) {
      if (CurrentEngineState() == ENGINE_STATE_PLAYING) OnCommand(ID_PAUSE);
    } else if (const std::optional<int> speed = SpeedOfRate(rate)) {
      Run(ENGINE_CMD_SET_SPEED, *speed);
    }
  };
  requests.setFullScreen = [this](bool on) {
    if (on != fullScreen_) ToggleFullScreen();
  };
  mediaRemote_ = std::make_unique<platform::MediaRemoteBus>("kinovue", std::move(identity), std::move(requests),
                                                            MediaRemoteRateRange());

  // A file given at start is opened before the controls are published: they
  // start from what the engine is doing now, not from its later messages.
  EngineInfo info;
  if (engine_) {
    engine_->GetInfo(&info);
    mediaRemoteState_.CatchUp(engine_->GetState(), info.hasMedia ? info.file : nullptr, engine_->GetLength());
    mediaRemoteState_.VolumeChanged(info.volume);
    mediaRemoteState_.SpeedChanged(info.speed);
  }
  ShowMediaRemote();
}

void CKinovueDlg::FollowEngineForMediaRemote(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  if (!mediaRemote_ || !mediaRemote_->Published()) return;
  bool jumped = false;
  switch (message) {
    case WM_ENGINE_OPEN: mediaRemoteState_.Opened(reinterpret_cast<const char*>(wParam)); break;
    case WM_ENGINE_STATE: mediaRemoteState_.StateChanged(static_cast<int>(wParam)); break;
    case WM_ENGINE_LENGTH: mediaRemoteState_.LengthKnown(static_cast<int>(wParam), static_cast<int>(lParam)); break;
    case WM_ENGINE_POSITION: jumped = mediaRemoteState_.PositionMoved(static_cast<int>(wParam)); break;
    case WM_ENGINE_VOLUME: mediaRemoteState_.VolumeChanged(static_cast<int>(wParam)); break;
    case WM_ENGINE_FINISHED: mediaRemoteState_.Finished(); break;
    case WM_ENGINE_SETTING: {
      const auto* setting = reinterpret_cast<const EngineSetting*>(wParam);
      if (!setting || setting->kind != ENGINE_SETTING_SPEED) return;
      mediaRemoteState_.SpeedChanged(setting->value);
      break;
    }
    default: return;
  }
  ShowMediaRemote(jumped);
}

void CKinovueDlg::ShowMediaRemote(bool jumped) {
  if (!mediaRemote_ || !mediaRemote_->Published()) return;
  mediaRemoteState_.FullScreenChanged(fullScreen_);
  EngineInfo info;
  if (engine_) engine_->GetInfo(&info);
  const platform::MediaRemoteStatus status = mediaRemoteState_.Status(info.hasMedia, playlist_ && playlist_->Count() > 0);
  mediaRemote_->Show(status);
  if (jumped) mediaRemote_->AnnounceSeek(status.positionUs);
}
