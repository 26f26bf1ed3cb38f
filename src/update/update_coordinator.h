#pragma once
#include <functional>
#include <memory>
#include <string>

#include "platform/message_window.h"
#include "update/update_events.h"

class IniFile;
class UpdateLibrary;

// What the user is shown about updates; the window draws it.
class UpdatePrompts {
 public:
  virtual ~UpdatePrompts() = default;
  // An information box; over the main window when ownedByWindow, else on its
  // own (before the window shows, or from the helper).
  virtual void ShowMessage(const std::string& text, const std::string& caption, bool ownedByWindow) = 0;
  // "Restart now?"; true for Yes.
  virtual bool AskRestartNow() = 0;
};

struct UpdateCoordinatorSetup {
  std::string settingsSection;  // the section of the settings file holding the postponed update
  std::string runtimeFolder;    // the helper's note and event; the user's private one when empty
  std::string updateServer;     // "host[:port]"; KINOVUE_UPDATE_SERVER or the program's own when empty
  std::string libraryPath;      // the program folder's libautorenew.so when empty
  std::string keyHex;           // the server's signing key; KINOVUE_UPDATE_KEY or the built-in one when empty
  // Starts the restart helper and waits for its answer; LaunchUpgradeHelper
  // with this program's file when empty. Called on the UI thread at start
  // and on the check's worker thread.
  std::function<bool(const std::string& cacheFolder, const std::string& targetFolder)> launchHelper;
  // Asks the window to close because the helper took over; called on the
  // check's worker thread.
  std::function<void()> requestQuit;
};

// Online update as the program runs it: acting as the upgrade helper at
// start, the update files, a postponed update, loading the update library,
// the check at start and on request, the restart helper, and what the user
// is told. Everything but the helper launch runs on the UI thread.
class UpdateCoordinator : public UpdateEvents {
 public:
  UpdateCoordinator(UpdateCoordinatorSetup setup, IniFile& settingsFile, UpdatePrompts& prompts);
  // Frees the update library, waiting for a check (bounded by its deadline).
  ~UpdateCoordinator() override;
  UpdateCoordinator(const UpdateCoordinator&) = delete;
  UpdateCoordinator& operator=(const UpdateCoordinator&) = delete;

  // Run first at start: true when this process was the upgrade helper and
  // has done its work, so the program ends.
  bool RunAsUpgradeHelper(const std::string& commandLine);
  // Seeds the update files of programFolder (ending in '/'), the folder the
  // rest works on.
  void SeedUpdateFiles(const std::string& programFolder);
  // A restart postponed last time is started now, once: true when its helper
  // took over, so the program ends.
  bool StartPendingUpdate();
  // Loads the update library, whose worker reports to owner (the events
  // here, through DeliverUpdateMessage); with autoCheck the check starts at
  // once and says nothing unless asked. False after the library's message.
  bool Load(platform::WindowHandle owner, bool autoCheck);
  // "立刻检查新版本": the result will be shown; a check is started unless
  // one runs already.
  void CheckNow();
  bool UpdateRunning() const { return running_; }
  // The program quits: a check under way is interrupted; one that does not
  // stop at once is left to the process's end rather than waited for.
  void StopForQuit();
  // Starts the restart helper; when it answered the window is asked to close.
  bool LaunchHelper(const std::string& cacheFolder, const std::string& targetFolder);

  void OnCached(const CachedUpdatePaths& paths) override;
  void OnResult(int code) override;
  bool AskRestartNow() override;

 private:
  UpdateCoordinatorSetup setup_;
  IniFile& settingsFile_;
  UpdatePrompts& prompts_;
  std::string programFolder_;
  std::unique_ptr<UpdateLibrary> updater_;
  bool running_ = false;     // a check is under way
  bool showResult_ = false;  // the user asked, so the result is shown
};
