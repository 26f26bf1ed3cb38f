// The main window's playback side: user commands become engine commands,
// engine messages update the window, and the end of every run decides what
// plays next.
#include <QAction>
#include <QMenu>
#include <cstdio>
#include <cstring>

#include "engine/playback_speed.h"
#include "mainwindow/command_ids.h"
#include "mainwindow/command_rows.h"
#include "mainwindow/kinovue_dlg.h"
#include "mainwindow/next_to_play.h"
#include "mainwindow/time_text.h"
#include "mainwindow/video_windows.h"

void CKinovueDlg::Run(int code, std::intptr_t arg) {
  if (!engine_) return;
  EngineCommand command{ENGINE_COMMAND_KIND, code, arg};
  engine_->Execute(&command);
}

void CKinovueDlg::PostFinishedToSelf() { platform::PostMessage(Handle(), WM_ENGINE_FINISHED, 0, 0); }

void CKinovueDlg::RequestOpen(const std::string& path) {
  if (path.empty() || closing_) return;
  pendingPath_ = path;
  StopOrPostFinished();
}

void CKinovueDlg::TogglePlayPause() {
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
  RefreshPlaybackMenu();
}

void CKinovueDlg::StopPlayback() {
  if (!engine_) return;
  // Only a stop that ends a run is answered by a finished run: a flag set
  // while stopped would swallow the next thing the user opens.
  if (engine_->GetState() != ENGINE_STATE_STOPPED) stopRequested_ = true;
  Run(ENGINE_CMD_STOP);
}

void CKinovueDlg::PlayNext() {
  nextRequested_ = true;
  FinishCurrentRun();
}

void CKinovueDlg::PlayPrevious() {
  previousRequested_ = true;
  FinishCurrentRun();
}

void CKinovueDlg::FinishCurrentRun() {
  if (CurrentEngineState() == ENGINE_STATE_STOPPED)
    PostFinishedToSelf();
  else
    Run(ENGINE_CMD_STOP);
}

void CKinovueDlg::ConnectControlPanel() {
  ControlPanel* panel = &controlPanel_;
  connect(panel, &ControlPanel::PlayPauseRequested, this, &CKinovueDlg::TogglePlayPause);
  connect(panel, &ControlPanel::StopRequested, this, &CKinovueDlg::StopPlayback);
  connect(panel, &ControlPanel::PreviousRequested, this, &CKinovueDlg::PlayPrevious);
  connect(panel, &ControlPanel::NextRequested, this, &CKinovueDlg::PlayNext);
  connect(panel, &ControlPanel::MuteToggleRequested, this, &CKinovueDlg::ToggleMute);
  connect(panel, &ControlPanel::SeekRequested, this, &CKinovueDlg::SeekBy);
  connect(panel, &ControlPanel::VolumeChosen, this, &CKinovueDlg::SetVolume);
}

void CKinovueDlg::SeekBy(int seconds) { Run(ENGINE_CMD_SEEK, seconds); }
void CKinovueDlg::SetVolume(int volume) { Run(ENGINE_CMD_SET_VOLUME, volume); }
void CKinovueDlg::ToggleMute() { Run(ENGINE_CMD_MUTE); }

void CKinovueDlg::OnEngineFinished(std::uintptr_t finalState) {
  // A run that was replaced by a newer one (a setting change restarts the
  // medium) reports its end after the new run began: nothing has finished.
  if (finalState != 0 && engine_ && engine_->GetState() != ENGINE_STATE_STOPPED) return;
  if (idleEvent_) idleEvent_->Set();
  positionSeconds_ = 0;
  shownLengthSeconds_ = 0;
  controlPanel_.SetSeekPosition(0);
  ShowTime();
  // Why the run failed stays where the time was until something plays.
  if (!failureReason_.empty()) controlPanel_.ShowMessage(failureReason_);
  if (finalState != 0 && modes_.IsFullScreen()) modes_.ToggleFullScreen();
  const PlayModes modes{settings_.RepeatCurrent, settings_.AutoPlayFromList, settings_.PlayFromList,
                        settings_.PlayListRandom, settings_.PlayListLoop, settings_.PlayListForward};
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
    if (resume > 0) ShowResumeNotice(resume);
    Run(ENGINE_CMD_PLAY, reinterpret_cast<std::intptr_t>(path.c_str()));
  } else {
    RefreshPlaybackMenu();
  }
  nextRequested_ = false;
  previousRequested_ = false;
}

std::string CKinovueDlg::TakeNextPath(const NextToPlayAction& next) {
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

void CKinovueDlg::OnEngineLength(int length, int resume) {
  lengthSeconds_ = shownLengthSeconds_ = length;
  positionSeconds_ = resume;
  if (positions_) positions_->LengthKnown(length, resume);
  // A medium that is still opening takes no relative seek: go there directly.
  if (resume > 0) Run(CurrentEngineState() == ENGINE_STATE_OPENING ? ENGINE_CMD_SEEK_TO : ENGINE_CMD_SEEK, resume);
  controlPanel_.SetSeekRange(lengthSeconds_);
  controlPanel_.SetSeekPosition(positionSeconds_);
}

void CKinovueDlg::OnEnginePosition(int position) {
  positionSeconds_ = position;
  if (positions_) positions_->PositionMoved(position);
  controlPanel_.SetSeekPosition(position);
  ShowTime();
}

void CKinovueDlg::ShowTime() {
  timeText_ = PlaybackTimeText(positionSeconds_, shownLengthSeconds_);
  controlPanel_.SetTimeText(resumeNotice_.empty() ? timeText_ : resumeNotice_);
}

void CKinovueDlg::ShowResumeNotice(int seconds) {
  resumeNotice_ = ResumeNoticeText(seconds);
  controlPanel_.SetTimeText(resumeNotice_);
  resumeNoticeTimer_.start();
}

void CKinovueDlg::OnEngineState(int state) {
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
  if (state >= ENGINE_STATE_PLAYING && state <= ENGINE_STATE_ABORTED) {
    if (state == ENGINE_STATE_PLAYING) {
      if (videoWindow_) videoWindow_->show();
      if (videoBackWindow_) videoBackWindow_->SetLogoVisible(false);
    } else if (state == ENGINE_STATE_STOPPED) {
      if (videoWindow_) videoWindow_->hide();
      if (videoBackWindow_) videoBackWindow_->SetLogoVisible(true);
    }
    if (settings_.Topmost) modes_.SetTopmost(state == ENGINE_STATE_PLAYING);
  }
  UpdateTitle();
  RefreshPlaybackMenu();
}

void CKinovueDlg::UpdateTitle() {
  EngineInfo info;
  const char* file = engine_ ? engine_->GetInfo(&info)->file : nullptr;
  setWindowTitle(WindowTitle(titleState_, file) + saveProblem_);
}

void CKinovueDlg::OnSaveFailed(const std::string& path, int error) {
  if (!saveProblem_.isEmpty()) return;
  saveProblem_ = SaveProblemNote(path, error);
  std::fprintf(stderr, "kinovue: %s could not be saved (%s); it keeps its old content\n", path.c_str(),
               std::strerror(error));
  setWindowTitle(windowTitle() + saveProblem_);
}

void CKinovueDlg::OnEngineError(const char* reason) {
  if (!reason || !*reason) return;
  failureReason_ = reason;
  resumeNotice_.clear();
  // Shown at once, without a dialog: playback may go on with the next item.
  controlPanel_.ShowMessage(failureReason_);
}

void CKinovueDlg::OnEngineStarted() {
  if (idleEvent_) idleEvent_->Reset();
  EngineInfo info;
  if (engine_) controlPanel_.SetVolumePosition(engine_->GetInfo(&info)->volume);
  modes_.FitToVideo();
}

namespace {

// The menu items of a setting's radio group, in the order of its values;
// null for a kind that has none.
const std::vector<int>* SettingGroup(int kind) {
  static const std::vector<int> kChannels{ID_STEREO, ID_LEFT_CHANNEL, ID_RIGHT_CHANNEL};
  static const std::vector<int> kAspects{ID_ASPECT_AUTO, ID_ASPECT_4_3, ID_ASPECT_16_9, ID_ASPECT_16_10};
  static const std::vector<int> kDeinterlace{ID_DEINTERLACE_OFF, ID_DEINTERLACE_SIMPLE, ID_DEINTERLACE_ADAPTIVE};
  return kind == ENGINE_SETTING_CHANNELS      ? &kChannels
         : kind == ENGINE_SETTING_ASPECT      ? &kAspects
         : kind == ENGINE_SETTING_DEINTERLACE ? &kDeinterlace
                                              : nullptr;
}

}  // namespace

void CKinovueDlg::OnEngineSetting(const EngineSetting* setting) {
  if (!setting) return;
  if (setting->kind == ENGINE_SETTING_SPEED) {
    ShowSpeed(setting->value);
    return;
  }
  const std::vector<int>* group = SettingGroup(setting->kind);
  if (!group || setting->value < 0 || setting->value >= static_cast<int>(group->size())) return;
  // The engine announces its settings as it starts, before the menus are
  // built: they are checked again from here once they are.
  announcedSettings_[setting->kind] = setting->value;
  CheckRadio(*group, (*group)[static_cast<std::size_t>(setting->value)]);
}

void CKinovueDlg::CheckAnnouncedSettings() {
  for (const auto& [kind, value] : announcedSettings_) {
    const std::vector<int>& group = *SettingGroup(kind);
    CheckRadio(group, group[static_cast<std::size_t>(value)]);
  }
}

int CKinovueDlg::CurrentSpeed() const {
  EngineInfo info;
  return engine_ ? engine_->GetInfo(&info)->speed : kNormalSpeed;
}

void CKinovueDlg::ShowSpeed(int speed) {
  for (const int step : SpeedSteps()) SetChecked(SpeedCommandId(step), step == speed);
}

void CKinovueDlg::OnEngineOpen(const char* file) {
  if (file) history_.AddFile(file);
  RebuildRecentMenu(false);
}

void CKinovueDlg::ApplyEngineSetting(int kind, int value) {
  if (!engine_) return;
  EngineSetting setting{kind, value, positionSeconds_};
  engine_->ApplySetting(&setting);
}

void CKinovueDlg::RefreshPlaybackMenu() {
  const int state = CurrentEngineState();
  EngineInfo info;
  if (engine_) engine_->GetInfo(&info);
  const PlaybackMenuRow* row = FindPlaybackMenuRow(state);
  if (!row) return;
  for (int id : row->enabled) SetEnabled(id, true);
  for (int id : row->disabled) SetEnabled(id, false);
  if (row->playFollowsMedia) SetEnabled(ID_PLAY, info.hasMedia);
  SetChecked(ID_AUTO_PLAY_FROM_LIST, settings_.AutoPlayFromList);
  SetChecked(ID_PLAYLIST_RANDOM, settings_.PlayListRandom);
  SetChecked(ID_PLAYLIST_LOOP, settings_.PlayListLoop);
  SetChecked(ID_REPEAT_CURRENT, settings_.RepeatCurrent);
  SetChecked(ID_PLAYLIST_FORWARD, settings_.PlayListForward);
  SetChecked(ID_PLAYLIST_BACKWARD, !settings_.PlayListForward);
  // The play-mode chain: each choice matters only if the one before allows it.
  const bool autoEnabled = !settings_.RepeatCurrent;
  const bool randomEnabled = autoEnabled && settings_.AutoPlayFromList;
  const bool orderEnabled = randomEnabled && !settings_.PlayListRandom;
  SetEnabled(ID_AUTO_PLAY_FROM_LIST, autoEnabled);
  SetEnabled(ID_PLAYLIST_RANDOM, randomEnabled);
  SetEnabled(ID_PLAYLIST_LOOP, orderEnabled);
  if (orderMenu_) orderMenu_->setEnabled(orderEnabled);
  SetChecked(ID_AUTO_UPDATE, settings_.AutoUpdate);
  controlPanel_.ShowPlaybackState(state, info.hasMedia);
}
