#include "player/playback_controller.h"

#include <utility>

#include "engine/playback_speed.h"
#include "history/history_list.h"
#include "history/play_position_memory.h"
#include "media/disc_scan.h"
#include "platform/file_name.h"
#include "playlist/play_list.h"

namespace {

// How many choices a setting the window shows has; 0 for one it does not.
int SettingChoices(int kind) {
  switch (kind) {
    case ENGINE_SETTING_CHANNELS: return 3;
    case ENGINE_SETTING_ASPECT: return 4;
    case ENGINE_SETTING_DEINTERLACE: return 3;
    default: return 0;
  }
}

}  // namespace

PlaybackController::PlaybackController(PlaybackView& view, CHistoryList& history, PlaybackHooks hooks)
    : view_(view), history_(history), hooks_(std::move(hooks)) {}

void PlaybackController::Attach(CPlayerEngine& engine, CPlayList& playlist, PlayPositionMemory* positions) {
  engine_ = &engine;
  playlist_ = &playlist;
  positions_ = positions;
}

void PlaybackController::Detach() {
  engine_ = nullptr;
  playlist_ = nullptr;
  positions_ = nullptr;
}

void PlaybackController::Run(int code, std::intptr_t arg) {
  if (!engine_) return;
  EngineCommand command{ENGINE_COMMAND_KIND, code, arg};
  engine_->Execute(&command);
}

int PlaybackController::EngineState() const { return engine_ ? engine_->GetState() : ENGINE_STATE_STOPPED; }

int PlaybackController::CurrentSpeed() const {
  EngineInfo info;
  return engine_ ? engine_->GetInfo(&info)->speed : kNormalSpeed;
}

void PlaybackController::RequestOpen(const std::string& path) {
  if (path.empty() || closing_) return;
  pendingPath_ = path;
  StopOrPostFinished();
}

void PlaybackController::OpenChosen(const std::string& path) {
  discQueue_.clear();
  RequestOpen(path);
  RememberLastOpen(path);
}

void PlaybackController::OpenDisc(const std::string& drive) {
  discQueue_ = ScanDisc(drive);
  StopOrPostFinished();
}

void PlaybackController::OpenRecent(int index) {
  std::string path;
  if (!history_.GetFileAt(path, index) || path.empty()) return;
  pendingPath_ = path;
  StopOrPostFinished();
}

void PlaybackController::OpenDropped(const std::vector<std::string>& paths) {
  if (paths.empty() || !playlist_) return;
  // From the last to the first, each to the front: the list starts with the
  // dropped files in their dropped order, and the last one dropped plays.
  for (auto it = paths.rbegin(); it != paths.rend(); ++it) playlist_->AddToFront(*it);
  discQueue_.clear();
  pendingPath_ = paths.back();
  StopOrPostFinished();
}

void PlaybackController::StartWith(const std::string& path) {
  pendingPath_ = path;
  OnFinished(0);
}

void PlaybackController::QueueInPlayList(const std::vector<std::string>& paths) {
  if (!playlist_ || paths.empty()) return;
  for (const std::string& path : paths) playlist_->Add(path);
  playlist_->Add(paths.front());  // an item already there becomes the current one
}

void PlaybackController::RememberLastOpen(const std::string& path) {
  // Read back cut, a longer one would name another folder.
  if (path.size() > platform::kMaxPathBytes) return;
  if (hooks_.saveLastOpen) hooks_.saveLastOpen(path);
}

void PlaybackController::StopOrPostFinished() {
  const int state = EngineState();
  if (state == ENGINE_STATE_PLAYING || state == ENGINE_STATE_PAUSED)
    Run(ENGINE_CMD_STOP);
  else if (hooks_.postFinishedToSelf)
    hooks_.postFinishedToSelf();
}

void PlaybackController::FinishCurrentRun() {
  if (EngineState() == ENGINE_STATE_STOPPED) {
    if (hooks_.postFinishedToSelf) hooks_.postFinishedToSelf();
  } else {
    Run(ENGINE_CMD_STOP);
  }
}

void PlaybackController::TogglePlayPause() {
  if (!engine_) return;
  const int state = engine_->GetState();
  // An open is under way (its file plays when the old run has finished):
  // replaying the old file now would leave the new one pending for ever.
  if (state == ENGINE_STATE_STOPPED && !pendingPath_.empty()) return;
  if (state == ENGINE_STATE_PLAYING)
    Run(ENGINE_CMD_PAUSE);
  else if (state == ENGINE_STATE_PAUSED || state == ENGINE_STATE_STOPPED)
    Run(ENGINE_CMD_PLAY, 0);
  else
    return;
  view_.ShowPlaybackMenu();
}

void PlaybackController::StopPlayback() {
  if (!engine_) return;
  // Only a stop that ends a run is answered by a finished run: a flag set
  // while stopped would swallow the next thing the user opens.
  if (engine_->GetState() != ENGINE_STATE_STOPPED) stopRequested_ = true;
  Run(ENGINE_CMD_STOP);
}

void PlaybackController::PlayNext() {
  nextRequested_ = true;
  FinishCurrentRun();
}

void PlaybackController::PlayPrevious() {
  previousRequested_ = true;
  FinishCurrentRun();
}

void PlaybackController::SeekTo(int seconds) {
  positionSeconds_ = seconds;
  Run(ENGINE_CMD_SEEK_TO, seconds);
}

void PlaybackController::ApplyEngineSetting(int kind, int value) {
  if (!engine_) return;
  EngineSetting setting{kind, value, positionSeconds_};
  engine_->ApplySetting(&setting);
}

bool PlaybackController::Close() {
  closing_ = true;
  discQueue_.clear();
  if (playlist_) playlist_->Clear();
  // Where the medium was left is kept before anything can hold the quit up.
  if (positions_) positions_->Left();
  if (!engine_ || engine_->GetState() == ENGINE_STATE_STOPPED) return false;
  Run(ENGINE_CMD_STOP);
  return true;
}

void PlaybackController::OnFinished(int finalState) {
  // A run that was replaced by a newer one (a setting change restarts the
  // medium) reports its end after the new run began: nothing has finished.
  if (finalState != 0 && engine_ && engine_->GetState() != ENGINE_STATE_STOPPED) return;
  idle_.Set();
  positionSeconds_ = 0;
  shownLengthSeconds_ = 0;
  view_.ShowRunFinished(finalState != 0);
  const PlayModes modes = hooks_.playModes ? hooks_.playModes() : PlayModes{};
  const NextToPlayAction next = NextToPlay({stopRequested_, closing_, !discQueue_.empty(), !pendingPath_.empty(),
                                            nextRequested_, previousRequested_, playlist_ != nullptr, modes});
  if (next.source == NextSource::StopHere) {
    stopRequested_ = false;
    return;
  }
  const std::string path = TakeNextPath(next);
  if (!path.empty()) {
    // Files of a disc play from their start, whatever their names.
    const int resume = positions_ ? positions_->Opening(path, next.source != NextSource::DiscQueue) : 0;
    Run(ENGINE_CMD_RESUME_AT, resume);
    if (resume > 0) view_.ShowResumeNotice(resume);
    Run(ENGINE_CMD_PLAY, reinterpret_cast<std::intptr_t>(path.c_str()));
  } else {
    view_.ShowPlaybackMenu();
  }
  nextRequested_ = false;
  previousRequested_ = false;
}

std::string PlaybackController::TakeNextPath(const NextToPlayAction& next) {
  std::string path;
  switch (next.source) {
    case NextSource::DiscQueue:
      path = discQueue_.front();
      discQueue_.pop_front();
      break;
    case NextSource::PendingPath:
      path.swap(pendingPath_);
      break;
    case NextSource::CurrentFile: {
      EngineInfo info;
      if (engine_ && engine_->GetInfo(&info)->file) path = info.file;
      break;
    }
    case NextSource::PlayList: {
      const PlayListWalk& w = next.walk;
      if (playlist_->GetNext(path, w.playFromList, w.random, w.repeatCurrent, w.loop, w.forward) < 0) path.clear();
      break;
    }
    case NextSource::StopHere:
    case NextSource::Nothing:
      break;
  }
  return path;
}

void PlaybackController::OnLength(int lengthSeconds, int resumeSeconds) {
  lengthSeconds_ = shownLengthSeconds_ = lengthSeconds;
  positionSeconds_ = resumeSeconds;
  if (positions_) positions_->LengthKnown(lengthSeconds, resumeSeconds);
  // A medium that is still opening takes no relative seek: go there directly.
  if (resumeSeconds > 0)
    Run(EngineState() == ENGINE_STATE_OPENING ? ENGINE_CMD_SEEK_TO : ENGINE_CMD_SEEK, resumeSeconds);
  view_.ShowLength(lengthSeconds_, positionSeconds_);
}

void PlaybackController::OnPosition(int seconds) {
  positionSeconds_ = seconds;
  if (positions_) positions_->PositionMoved(seconds);
  view_.ShowPosition(seconds);
}

void PlaybackController::OnState(int state) {
  // A failed run is announced as ABORTED and then STOPPED: the title keeps
  // saying that the clip could not be played.
  if (!(state == ENGINE_STATE_STOPPED && titleState_ == ENGINE_STATE_ABORTED)) titleState_ = state;
  if (positions_) {
    if (state == ENGINE_STATE_STOPPED || state == ENGINE_STATE_ABORTED)
      positions_->Left();
    else if (state == ENGINE_STATE_OPENING || state == ENGINE_STATE_PLAYING)
      positions_->PlayingAgain();
  }
  if (state == ENGINE_STATE_OPENING) failureReason_.clear();
  view_.ShowState(state);
}

void PlaybackController::OnError(const char* reason) {
  if (!reason || !*reason) return;
  failureReason_ = reason;
  // Shown at once, without a dialog: playback may go on with the next item.
  view_.ShowFailure(failureReason_);
}

void PlaybackController::OnStarted() {
  idle_.Reset();
  EngineInfo info;
  if (engine_) view_.ShowVolume(engine_->GetInfo(&info)->volume);
  view_.ShowStarted();
}

void PlaybackController::OnVolume(int /*volume*/) {
  // The engine's volume as it is now: a newer change may be queued behind.
  EngineInfo info;
  if (engine_) view_.ShowVolume(engine_->GetInfo(&info)->volume);
}

void PlaybackController::OnMute(bool on) { view_.ShowMute(on); }

void PlaybackController::OnSetting(const EngineSetting& setting) {
  if (setting.kind == ENGINE_SETTING_SPEED) {
    view_.ShowSpeed(setting.value);
    return;
  }
  if (setting.value < 0 || setting.value >= SettingChoices(setting.kind)) return;
  // The engine announces its settings as it starts, before the menus are
  // built: the window checks them again from here once they are.
  announcedSettings_[setting.kind] = setting.value;
  view_.ShowSetting(setting.kind, setting.value);
}

void PlaybackController::OnOpen(const char* file) {
  if (file) history_.AddFile(file);
  view_.ShowRecentFiles();
}
