#include "update/update_coordinator.h"

#include <QCoreApplication>
#include <utility>

#include "platform/program_folder.h"
#include "settings/ini_file.h"
#include "update/update_files.h"
#include "update/update_library.h"
#include "update/update_result.h"
#include "update/upgrade_helper.h"

namespace {

// How long the quit waits for an interrupted check to end.
constexpr int kUpdaterStopMs = 300;

std::string OwnProgramPath() { return QCoreApplication::applicationFilePath().toStdString(); }

}  // namespace

UpdateCoordinator::UpdateCoordinator(UpdateCoordinatorSetup setup, IniFile& settingsFile, UpdatePrompts& prompts)
    : setup_(std::move(setup)), settingsFile_(settingsFile), prompts_(prompts) {
  if (!setup_.launchHelper) {
    setup_.launchHelper = [runtime = setup_.runtimeFolder](const std::string& cache, const std::string& target) {
      return LaunchUpgradeHelper(OwnProgramPath(), cache, target, runtime);
    };
  }
}

UpdateCoordinator::~UpdateCoordinator() = default;

bool UpdateCoordinator::RunAsUpgradeHelper(const std::string& commandLine) {
  UpgradeHelperEnvironment environment;
  environment.ownProgramPath = OwnProgramPath();
  environment.runtimeFolder = setup_.runtimeFolder;
  environment.publicKeyHex = update::UpdatePublicKey();
  environment.showMessage = [this](const std::string& text, const std::string& caption) {
    prompts_.ShowMessage(text, caption, false);
  };
  return RunUpgradeHelper(commandLine, environment);
}

void UpdateCoordinator::SeedUpdateFiles(const std::string& programFolder) {
  programFolder_ = programFolder;
  update::SeedUpdateFiles(platform::DataFolder(programFolder_),
                          setup_.updateServer.empty() ? update::UpdateServer() : setup_.updateServer);
}

bool UpdateCoordinator::StartPendingUpdate() {
  const std::string& section = setup_.settingsSection;
  bool pending = false;
  if (!settingsFile_.ReadBool(section, "UpdateFromCached", pending) || !pending) return false;
  std::string cacheFolder;
  std::string targetFolder;
  settingsFile_.ReadString(section, "UpgradeCachedDir", cacheFolder, 4096);
  settingsFile_.ReadString(section, "UpgradeTargetDir", targetFolder, 4096);
  // Asked once: a missing cache or folders not our own (a settings file
  // from elsewhere) are forgotten rather than tried at every start.
  settingsFile_.WriteStrings(section, {{"UpdateFromCached", "0"}, {"UpgradeCachedDir", ""}, {"UpgradeTargetDir", ""}});
  if (!AreOwnUpdateFolders(cacheFolder, targetFolder, programFolder_)) return false;
  if (setup_.launchHelper(cacheFolder, targetFolder)) return true;
  // The helper never answered: say so and start as usual.
  prompts_.ShowMessage(UpdateResultText(UPDATE_RESULT_HELPER_FAILED), kUpdateResultCaption, false);
  return false;
}

bool UpdateCoordinator::Load(platform::WindowHandle owner, bool autoCheck) {
  UpdateLoadParams params;
  params.owner = owner;
  params.cachedMessage = WM_UPDATE_CACHED;
  params.resultMessage = WM_UPDATE_RESULT;
  params.questionMessage = WM_UPDATE_QUESTION;
  params.libraryPath = setup_.libraryPath.empty() ? programFolder_ + update::kUpdateLibraryFile : setup_.libraryPath;
  params.programFolder = programFolder_;
  params.dataFolder = platform::DataFolder(programFolder_);
  params.publicKeyHex = setup_.keyHex.empty() ? update::UpdatePublicKey() : setup_.keyHex;
  params.showError = [this](const std::string& text) { prompts_.ShowMessage(text, "", false); };
  params.launchHelper = [this](platform::WindowHandle, const std::string& cache, const std::string& target) {
    return LaunchHelper(cache, target);
  };
  updater_ = std::make_unique<UpdateLibrary>();
  if (!updater_->Load(params)) return false;
  if (autoCheck) {
    running_ = true;
    updater_->StartUpdateThread();
  }
  return true;
}

void UpdateCoordinator::CheckNow() {
  showResult_ = true;
  if (running_ || !updater_) return;
  running_ = true;
  updater_->StartUpdateThread(true);
}

void UpdateCoordinator::StopForQuit() {
  if (updater_ && !updater_->Stop(kUpdaterStopMs)) (void)updater_.release();
}

bool UpdateCoordinator::LaunchHelper(const std::string& cacheFolder, const std::string& targetFolder) {
  const bool answered = setup_.launchHelper(cacheFolder, targetFolder);
  if (answered && setup_.requestQuit) setup_.requestQuit();
  return answered;
}

void UpdateCoordinator::OnCached(const CachedUpdatePaths& paths) {
  settingsFile_.WriteStrings(setup_.settingsSection, {{"UpdateFromCached", "1"},
                                                      {"UpgradeCachedDir", paths.cacheFolder},
                                                      {"UpgradeTargetDir", paths.targetFolder}});
}

void UpdateCoordinator::OnResult(int code) {
  running_ = false;
  // A helper that did not answer is told even when nobody asked.
  if (!showResult_ && code != UPDATE_RESULT_HELPER_FAILED) return;
  showResult_ = false;
  const std::string text = UpdateResultMessage(code, updater_ ? updater_->OfferedVersion() : 0);
  if (!text.empty()) prompts_.ShowMessage(text, kUpdateResultCaption, true);
}

bool UpdateCoordinator::AskRestartNow() { return prompts_.AskRestartNow(); }
