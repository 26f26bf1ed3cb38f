// Online update as the main window sees it: the helper check, the update
// files, a postponed update at start, loading the update library, checks
// at start and on request, and what the user is told.
#include <QCoreApplication>
#include <QMessageBox>

#include "mainwindow/kinovue_dlg.h"
#include "platform/program_folder.h"
#include "update/update_files.h"
#include "update/update_library.h"
#include "update/update_result.h"
#include "update/upgrade_helper.h"

namespace {

int ShowBox(const KinovueOptions& options, QWidget* parent, QMessageBox::Icon icon, const std::string& text,
            const std::string& caption, QMessageBox::StandardButtons buttons) {
  QMessageBox box(icon, QString::fromStdString(caption), QString::fromStdString(text), buttons, parent);
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  return options.runDialog ? options.runDialog(box) : box.exec();
}

}  // namespace

std::string CKinovueDlg::UpdateDataFolder() const { return platform::DataFolder(programFolder_); }

void CKinovueDlg::ShowUpdateMessage(const std::string& text, const std::string& caption, QWidget* parent) {
  ShowBox(options_, parent, QMessageBox::Information, text, caption, QMessageBox::Ok);
}

bool CKinovueDlg::RunAsUpgradeHelper() {
  UpgradeHelperEnvironment environment;
  environment.ownProgramPath = QCoreApplication::applicationFilePath().toStdString();
  environment.runtimeFolder = options_.runtimeFolder;
  environment.publicKeyHex = update::UpdatePublicKey();
  environment.showMessage = [this](const std::string& text, const std::string& caption) {
    ShowUpdateMessage(text, caption, nullptr);
  };
  return RunUpgradeHelper(options_.commandLine, environment);
}

void CKinovueDlg::SeedUpdateFiles() {
  update::SeedUpdateFiles(UpdateDataFolder(),
                          options_.updateServer.empty() ? update::UpdateServer() : options_.updateServer);
}

bool CKinovueDlg::LaunchHelper(const std::string& cacheFolder, const std::string& targetFolder) {
  const bool answered = LaunchUpgradeHelper(QCoreApplication::applicationFilePath().toStdString(), cacheFolder,
                                            targetFolder, options_.runtimeFolder);
  if (answered) platform::PostMessage(Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  return answered;
}

bool CKinovueDlg::StartPendingUpdate() {
  bool pending = false;
  if (!settingsFile_.ReadBool(kMainSection, "UpdateFromCached", pending) || !pending) return false;
  std::string cacheFolder;
  std::string targetFolder;
  settingsFile_.ReadString(kMainSection, "UpgradeCachedDir", cacheFolder, 4096);
  settingsFile_.ReadString(kMainSection, "UpgradeTargetDir", targetFolder, 4096);
  // Asked once: a missing cache or folders not our own (a settings file
  // from elsewhere) are forgotten rather than tried at every start.
  settingsFile_.WriteStrings(kMainSection,
                             {{"UpdateFromCached", "0"}, {"UpgradeCachedDir", ""}, {"UpgradeTargetDir", ""}});
  if (!AreOwnUpdateFolders(cacheFolder, targetFolder, programFolder_)) return false;
  if (LaunchUpgradeHelper(QCoreApplication::applicationFilePath().toStdString(), cacheFolder, targetFolder,
                          options_.runtimeFolder)) {
    return true;
  }
  // The helper never answered: say so and start as usual.
  ShowUpdateMessage(UpdateResultText(UPDATE_RESULT_HELPER_FAILED), kUpdateResultCaption, nullptr);
  return false;
}

bool CKinovueDlg::LoadUpdater() {
  UpdateLoadParams params;
  params.owner = Handle();
  params.cachedMessage = WM_UPDATE_CACHED;
  params.resultMessage = WM_UPDATE_RESULT;
  params.questionMessage = WM_UPDATE_QUESTION;
  params.libraryPath = options_.updateLibraryPath.empty() ? programFolder_ + update::kUpdateLibraryFile
                                                          : options_.updateLibraryPath;
  params.programFolder = programFolder_;
  params.dataFolder = UpdateDataFolder();
  params.publicKeyHex = options_.updateKeyHex.empty() ? update::UpdatePublicKey() : options_.updateKeyHex;
  params.showError = [this](const std::string& text) { ShowUpdateMessage(text, "", nullptr); };
  params.launchHelper = [this](platform::WindowHandle, const std::string& cache, const std::string& target) {
    return LaunchHelper(cache, target);
  };
  updater_ = std::make_unique<UpdateLibrary>();
  if (!updater_->Load(params)) return false;
  if (settings_.AutoUpdate) {
    updateRunning_ = true;
    updater_->StartUpdateThread();
  }
  return true;
}

void CKinovueDlg::CheckForUpdateNow() {
  showUpdateResult_ = true;
  if (updateRunning_ || !updater_) return;
  updateRunning_ = true;
  updater_->StartUpdateThread(true);
}

void CKinovueDlg::OnUpdateResult(int code) {
  updateRunning_ = false;
  // A helper that did not answer is told even when nobody asked.
  if (!showUpdateResult_ && code != UPDATE_RESULT_HELPER_FAILED) return;
  showUpdateResult_ = false;
  const std::string text = UpdateResultMessage(code, updater_ ? updater_->OfferedVersion() : 0);
  if (!text.empty()) ShowUpdateMessage(text, kUpdateResultCaption, this);
}

void CKinovueDlg::OnUpdateCached(const CachedUpdatePaths* paths) {
  if (!paths) return;
  settingsFile_.WriteStrings(kMainSection, {{"UpdateFromCached", "1"},
                                            {"UpgradeCachedDir", paths->cacheFolder},
                                            {"UpgradeTargetDir", paths->targetFolder}});
}

std::intptr_t CKinovueDlg::AskRestartNow() {
  return ShowBox(options_, this, QMessageBox::Question, kRestartQuestion, kRestartCaption,
                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}
