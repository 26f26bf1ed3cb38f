// Every way of giving the player something to play: dialogs, discs, drops,
// recent files; and going to a time inside the medium.
#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <cstdio>

#include "association/open_filter.h"
#include "dialogs/goto_time_dlg.h"
#include "dialogs/open_file_dlg.h"
#include "dialogs/play_setting_dlg.h"
#include "dialogs/play_url_dlg.h"
#include "engine/engine_settings.h"
#include "mainwindow/command_ids.h"
#include "mainwindow/command_line.h"
#include "mainwindow/kinovue_dlg.h"
#include "media/disc_scan.h"
#include "media/go_to_time.h"
#include "media/open_dialog_folder.h"
#include "platform/file_name.h"
#include "platform/local_files.h"
#include "platform/optical_drives.h"

namespace {

int RunModal(const KinovueOptions& options, QDialog& dialog) {
  return options.runDialog ? options.runDialog(dialog) : dialog.exec();
}

}  // namespace

void CKinovueDlg::StopOrPostFinished() {
  const int state = CurrentEngineState();
  if (state == ENGINE_STATE_PLAYING || state == ENGINE_STATE_PAUSED)
    Run(ENGINE_CMD_STOP);
  else
    PostFinishedToSelf();
}

void CKinovueDlg::RememberLastOpen(const std::string& path) {
  // Read back cut, a longer one would name another folder.
  if (path.size() > platform::kMaxPathBytes) return;
  settings_.LastOpen = path;
  WriteMainSetting(settingsFile_, settings_, &MainSettings::LastOpen);
}

void CKinovueDlg::CollectDiscDrives() {
  if (options_.drives) cdromDrives_ = options_.drives->List();
  menus_.ShowDiscDrives(cdromDrives_);
}

void CKinovueDlg::OpenDisc(std::size_t driveIndex) {
  if (driveIndex >= cdromDrives_.size()) return;
  discQueue_ = ScanDisc(cdromDrives_[driveIndex]);
  StopOrPostFinished();
}

void CKinovueDlg::OpenRecent(int index) {
  std::string path;
  if (!history_.GetFileAt(path, index) || path.empty()) return;
  pendingPath_ = path;
  StopOrPostFinished();
}

void CKinovueDlg::OpenFileDialog() {
  COpenFileDlg dialog(this);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilters(ToQtNameFilters(BuildOpenFilterText()));
  const std::string folder = OpenDialogInitialFolder(settings_.LastOpen);
  if (!folder.empty()) dialog.setDirectory(platform::FileNameToQt(folder));
  if (RunModal(options_, dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const std::string path = dialog.SelectedPath();
  discQueue_.clear();
  RequestOpen(path);
  RememberLastOpen(path);
}

void CKinovueDlg::OpenAddressDialog() {
  CPlayUrlDlg dialog(this);
  if (RunModal(options_, dialog) != QDialog::Accepted || dialog.url.empty()) return;
  discQueue_.clear();
  RequestOpen(dialog.url);
  RememberLastOpen(dialog.url);
}

void CKinovueDlg::GoToTime() {
  CGotoTimeDlg dialog(this);
  dialog.initialText = FormatGoToTime(positionSeconds_);
  if (RunModal(options_, dialog) != QDialog::Accepted) return;
  positionSeconds_ = ParseGoToTime(dialog.timeText, lengthSeconds_);
  // The strip measures its seek requests from here.
  controlPanel_.SetSeekBase(positionSeconds_);
  Run(ENGINE_CMD_SEEK_TO, positionSeconds_);
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

void CKinovueDlg::QueueInPlayList(const std::vector<std::string>& paths) {
  if (!playlist_ || paths.empty()) return;
  for (const std::string& path : paths) playlist_->Add(path);
  playlist_->Add(paths.front());  // an item already there becomes the current one
}

void CKinovueDlg::OpenDroppedFiles(const std::vector<std::string>& paths) {
  if (paths.empty() || !playlist_) return;
  // From the last to the first, each to the front: the list starts with the
  // dropped files in their dropped order, and the last one dropped plays.
  for (auto it = paths.rbegin(); it != paths.rend(); ++it) playlist_->AddToFront(*it);
  discQueue_.clear();
  pendingPath_ = paths.back();
  StopOrPostFinished();
}

void CKinovueDlg::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CKinovueDlg::dropEvent(QDropEvent* event) {
  std::vector<std::string> paths;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) paths.push_back(platform::LocalFileFromUrl(url));
  OpenDroppedFiles(paths);
  event->acceptProposedAction();
}
