// The main window's playback side as it is seen: title, clock, menus and the
// control strip follow what the playback controller decides, and the dialogs
// that open media hand their answer to it.
#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <cstdio>
#include <cstring>

#include "association/open_filter.h"
#include "dialogs/goto_time_dlg.h"
#include "dialogs/open_file_dlg.h"
#include "dialogs/play_setting_dlg.h"
#include "dialogs/play_url_dlg.h"
#include "engine/engine_settings.h"
#include "engine/playback_speed.h"
#include "mainwindow/command_ids.h"
#include "mainwindow/command_line.h"
#include "mainwindow/command_table.h"
#include "mainwindow/kinovue_dlg.h"
#include "mainwindow/time_text.h"
#include "mainwindow/video_windows.h"
#include "media/go_to_time.h"
#include "media/open_dialog_folder.h"
#include "platform/file_name.h"
#include "platform/local_files.h"
#include "platform/optical_drives.h"

namespace {

int RunModal(const KinovueOptions& options, QDialog& dialog) {
  return options.runDialog ? options.runDialog(dialog) : dialog.exec();
}

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

// The window's answer to each of the controller's "show" calls.
class WindowPlaybackView final : public PlaybackView {
 public:
  explicit WindowPlaybackView(CKinovueDlg& window) : w_(window) {}

  void ShowState(int state) override {
    if (state >= ENGINE_STATE_PLAYING && state <= ENGINE_STATE_ABORTED) {
      if (state == ENGINE_STATE_PLAYING) {
        if (w_.videoWindow_) w_.videoWindow_->show();
        if (w_.videoBackWindow_) w_.videoBackWindow_->SetLogoVisible(false);
      } else if (state == ENGINE_STATE_STOPPED) {
        if (w_.videoWindow_) w_.videoWindow_->hide();
        if (w_.videoBackWindow_) w_.videoBackWindow_->SetLogoVisible(true);
      }
      if (w_.settings_.Topmost) w_.modes_.SetTopmost(state == ENGINE_STATE_PLAYING);
    }
    EngineInfo info;
    const char* file = w_.engine_ ? w_.engine_->GetInfo(&info)->file : nullptr;
    w_.setWindowTitle(WindowTitle(w_.playback_.TitleState(), file) + w_.saveProblem_);
    w_.RefreshPlaybackMenu();
  }
  void ShowPlaybackMenu() override { w_.RefreshPlaybackMenu(); }
  void ShowLength(int lengthSeconds, int positionSeconds) override {
    w_.controlPanel_.SetSeekRange(lengthSeconds);
    w_.controlPanel_.SetSeekPosition(positionSeconds);
  }
  void ShowPosition(int positionSeconds) override {
    w_.controlPanel_.SetSeekPosition(positionSeconds);
    w_.ShowTime();
  }
  void ShowRunFinished(bool endedByEngine) override {
    w_.controlPanel_.SetSeekPosition(0);
    w_.ShowTime();
    // Why the run failed stays where the time was until something plays.
    const std::string& reason = w_.playback_.FailureReason();
    if (!reason.empty()) w_.controlPanel_.ShowMessage(reason);
    if (endedByEngine && w_.modes_.IsFullScreen()) w_.modes_.ToggleFullScreen();
  }
  // "从 HH:MM:SS 继续播放" in the time read-out for a few seconds.
  void ShowResumeNotice(int seconds) override {
    w_.resumeNotice_ = ResumeNoticeText(seconds);
    w_.controlPanel_.SetTimeText(w_.resumeNotice_);
    w_.resumeNoticeTimer_.start();
  }
  void ShowFailure(const std::string& reason) override {
    w_.resumeNotice_.clear();
    w_.controlPanel_.ShowMessage(reason);
  }
  void ShowStarted() override { w_.modes_.FitToVideo(); }
  void ShowVolume(int volume) override { w_.controlPanel_.SetVolumePosition(volume); }
  void ShowMute(bool on) override { w_.controlPanel_.ShowMute(on); }
  void ShowSpeed(int speed) override { w_.ShowSpeed(speed); }
  void ShowSetting(int kind, int value) override {
    const std::vector<int>* group = SettingGroup(kind);
    if (group && value >= 0 && value < static_cast<int>(group->size()))
      w_.CheckRadio(*group, (*group)[static_cast<std::size_t>(value)]);
  }
  void ShowRecentFiles() override { w_.RebuildRecentMenu(); }

 private:
  CKinovueDlg& w_;
};

std::unique_ptr<PlaybackView> CKinovueDlg::MakePlaybackView(CKinovueDlg& window) {
  return std::make_unique<WindowPlaybackView>(window);
}

PlaybackHooks CKinovueDlg::MakePlaybackHooks() {
  PlaybackHooks hooks;
  hooks.playModes = [this] {
    return PlayModes{settings_.RepeatCurrent, settings_.AutoPlayFromList, settings_.PlayFromList,
                     settings_.PlayListRandom, settings_.PlayListLoop, settings_.PlayListForward};
  };
  // Posted as the engine posts its own end: what follows the engine's
  // messages (the desktop's controls) hears of this one too.
  hooks.postFinishedToSelf = [this] { platform::PostMessage(Handle(), WM_ENGINE_FINISHED, 0, 0); };
  hooks.saveLastOpen = [this](const std::string& path) {
    settings_.LastOpen = path;
    WriteMainSetting(settingsFile_, settings_, &MainSettings::LastOpen);
  };
  return hooks;
}

void CKinovueDlg::RequestOpen(const std::string& path) { playback_.RequestOpen(path); }
void CKinovueDlg::TogglePlayPause() { playback_.TogglePlayPause(); }
void CKinovueDlg::StopPlayback() { playback_.StopPlayback(); }
void CKinovueDlg::PlayNext() { playback_.PlayNext(); }
void CKinovueDlg::PlayPrevious() { playback_.PlayPrevious(); }
void CKinovueDlg::SeekBy(int seconds) { playback_.SeekBy(seconds); }
void CKinovueDlg::SetVolume(int volume) { playback_.SetVolume(volume); }
void CKinovueDlg::ToggleMute() { playback_.ToggleMute(); }

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

void CKinovueDlg::ShowTime() {
  const std::string timeText = PlaybackTimeText(playback_.PositionSeconds(), playback_.ShownLengthSeconds());
  controlPanel_.SetTimeText(resumeNotice_.empty() ? timeText : resumeNotice_);
}

void CKinovueDlg::OnSaveFailed(const std::string& path, int error) {
  if (!saveProblem_.isEmpty()) return;
  saveProblem_ = SaveProblemNote(path, error);
  std::fprintf(stderr, "kinovue: %s could not be saved (%s); it keeps its old content\n", path.c_str(),
               std::strerror(error));
  setWindowTitle(windowTitle() + saveProblem_);
}

void CKinovueDlg::CheckAnnouncedSettings() {
  for (const auto& [kind, value] : playback_.AnnouncedSettings()) playbackView_->ShowSetting(kind, value);
}

void CKinovueDlg::ShowSpeed(int speed) {
  for (const int step : SpeedSteps()) SetChecked(SpeedCommandId(step), step == speed);
}

void CKinovueDlg::RefreshPlaybackMenu() {
  const int state = CurrentEngineState();
  EngineInfo info;
  if (engine_) engine_->GetInfo(&info);
  menus_.ShowPlaybackState(state, info.hasMedia);
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
  if (QMenu* order = menus_.OrderMenu()) order->setEnabled(orderEnabled);
  SetChecked(ID_AUTO_UPDATE, settings_.AutoUpdate);
  controlPanel_.ShowPlaybackState(state, info.hasMedia);
}

void CKinovueDlg::CollectDiscDrives() {
  if (options_.drives) cdromDrives_ = options_.drives->List();
  menus_.ShowDiscDrives(cdromDrives_);
}

void CKinovueDlg::OpenDisc(std::size_t driveIndex) {
  if (driveIndex < cdromDrives_.size()) playback_.OpenDisc(cdromDrives_[driveIndex]);
}

void CKinovueDlg::OpenFileDialog() {
  COpenFileDlg dialog(this);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilters(ToQtNameFilters(BuildOpenFilterText()));
  const std::string folder = OpenDialogInitialFolder(settings_.LastOpen);
  if (!folder.empty()) dialog.setDirectory(platform::FileNameToQt(folder));
  if (RunModal(options_, dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  playback_.OpenChosen(dialog.SelectedPath());
}

void CKinovueDlg::OpenAddressDialog() {
  CPlayUrlDlg dialog(this);
  if (RunModal(options_, dialog) != QDialog::Accepted || dialog.url.empty()) return;
  playback_.OpenChosen(dialog.url);
}

void CKinovueDlg::GoToTime() {
  CGotoTimeDlg dialog(this);
  dialog.initialText = FormatGoToTime(playback_.PositionSeconds());
  if (RunModal(options_, dialog) != QDialog::Accepted) return;
  const int target = ParseGoToTime(dialog.timeText, playback_.LengthSeconds());
  // The strip measures its seek requests from here.
  controlPanel_.SetSeekBase(target);
  playback_.SeekTo(target);
}

void CKinovueDlg::PlaySettings() {
  CPlaySettingDlg dialog(StoredPlayCache(settingsFile_), this);
  if (RunModal(options_, dialog) != QDialog::Accepted) return;
  if (dialog.cacheKBytes > 0) Run(ENGINE_CMD_SET_CACHE, dialog.cacheKBytes);
}

void CKinovueDlg::ShowAbout() {
  if (options_.showAbout) options_.showAbout(this);
}

void CKinovueDlg::ReadCommandLine() {
  std::vector<std::string> arguments = options_.arguments;
  if (arguments.empty() && !options_.commandLine.empty()) arguments.push_back(options_.commandLine);
  app::CommandLineFiles files = app::FilesOfArguments(arguments, platform::WorkingFolder(), platform::IsOpenableFile);
  for (const std::string& unknown : files.unknown)
    std::fprintf(stderr, "kinovue: \"%s\" names no file or address; it is skipped.\n", unknown.c_str());
  commandLineFiles_ = std::move(files.paths);
}

void CKinovueDlg::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CKinovueDlg::dropEvent(QDropEvent* event) {
  std::vector<std::string> paths;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) paths.push_back(platform::LocalFileFromUrl(url));
  playback_.OpenDropped(paths);
  event->acceptProposedAction();
}

void CKinovueDlg::HandOverReceived(const std::vector<std::string>& paths) {
  playback_.DiscQueue().clear();
  if (paths.empty()) return;
  if (paths.size() > 1) playback_.QueueInPlayList(paths);
  // Opened from the event loop rather than before the answer: in a burst of
  // second instances each sender is answered at once instead of after an
  // engine start, and only the last file handed over is started.
  const bool openScheduled = !handedOverPath_.empty();
  handedOverPath_ = paths.front();
  if (!openScheduled) QTimer::singleShot(0, this, [this] { RequestOpen(std::exchange(handedOverPath_, {})); });
  if (isMinimized()) showNormal();
  playback_.RememberLastOpen(paths.front());
}
