#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/manual_reset_event.h"
#include "platform/dynamic_library.h"

#include <QThread>
#include "platform/message_window.h"
#include "updatelib/autorenew_contract.h"

// Kinovue's side of the update library: loads it, hands it the paths of the
// working files and runs checks on a worker thread, whose result goes to the
// owner window as a message.

// The whole of one check (server list, check file, files) must end within
// this; a server that trickles its bytes cannot hold a check longer.
inline constexpr int kUpdateSessionMs = 120000;

struct UpdateLoadParams {
  platform::WindowHandle owner = 0;
  unsigned cachedMessage = 0;    // sent with a CachedUpdatePaths* when the restart is postponed
  unsigned resultMessage = 0;    // sent with the result code when a check ends
  unsigned questionMessage = 0;  // sent to ask for the restart; a non-zero answer is Yes
  std::string libraryPath;       // program folder + "libautorenew.so"
  std::string programFolder;     // where updates are placed, ending in '/'
  std::string dataFolder;        // where the update files live, ending in '/'
  std::string publicKeyHex;      // empty: the library's built-in key
  int sessionMs = kUpdateSessionMs;  // the time a whole check may take
  // Shows a Load failure to the user.
  std::function<void(const std::string& text)> showError;
  // Starts the restart helper (LaunchUpgradeHelper); true when it answered.
  std::function<bool(platform::WindowHandle owner, const std::string& cacheFolder, const std::string& targetFolder)>
      launchHelper;
};

// Carried by cachedMessage: the folders of the postponed update.
struct CachedUpdatePaths {
  std::string cacheFolder;   // with a trailing '/'
  std::string targetFolder;  // the program folder
};

class UpdateLibrary {
 public:
  UpdateLibrary() = default;
  // Stops the worker (Stop) and waits for it, and frees the library.
  ~UpdateLibrary();
  UpdateLibrary(const UpdateLibrary&) = delete;
  UpdateLibrary& operator=(const UpdateLibrary&) = delete;

  // Loads the library, resolves the ten exports and initialises it. False
  // after showing "不能载入动态链接库..." or "在动态链接库...中定位函数失败".
  bool Load(const UpdateLoadParams& params);
  // Runs RunUpdate on a worker, then sends resultMessage with its result.
  // A check still running is waited for first.
  void StartUpdateThread(bool manual = false);
  // One check, on the calling thread: a result code of update_result.h. A
  // copy the package manager installed (program folder not writable) asks
  // the server only when the user asked (manual), and then learns the
  // version offered (UPDATE_RESULT_PACKAGE_OFFERED, OfferedVersion()).
  int RunUpdate(platform::WindowHandle owner, bool manual = false);
  // The version found by the last UPDATE_RESULT_PACKAGE_OFFERED check.
  std::int64_t OfferedVersion() const { return offered_.load(); }
  // Interrupts a running check: its messages are abandoned and every wait of
  // its network code gives up at once, so it ends with a failure code. Waits
  // at most timeoutMs for it to end; false when it is still running (the
  // object must then outlive it: the caller leaves it to the process's end).
  bool Stop(int timeoutMs);

  const std::string& ProgramFolder() const { return programFolder_; }
  const std::string& CacheFolder() const { return cacheFolder_; }
  const std::string& LocalConfigPath() const { return localConfigPath_; }

 private:
  // The manual check of an installed copy: what the server offers.
  int AskOffered(const std::string& server);

  UpdateLoadParams params_;
  platform::DynamicLibrary library_;
  AutoRenewInitFn init_ = nullptr;
  AutoRenewFinishFn finish_ = nullptr;
  GetServerListCountFn getServerListCount_ = nullptr;
  GetServerListFn getServerList_ = nullptr;
  FreeServerListFn freeServerList_ = nullptr;
  GetUpdateInfoFromServerFn getUpdateInfo_ = nullptr;
  UpdateAllFilesFn updateAllFiles_ = nullptr;
  CheckCachedUpdateFn checkCachedUpdate_ = nullptr;
  NeedUpdateMainProcessFn needUpdateMainProcess_ = nullptr;
  CachedUpdateFn cachedUpdate_ = nullptr;
  GetOfferedVersionFn getOfferedVersion_ = nullptr;  // optional: older libraries lack it
  std::intptr_t context_ = 0;
  std::atomic<std::int64_t> offered_{0};

  std::string programFolder_;
  std::string serverConfigPath_;
  std::string localConfigPath_;
  std::string logPath_;
  std::string cacheFolder_;
  std::string cacheFolderAgain_;
  UpdateInitBlock block_{};

  platform::SendGate gate_;  // closed at destruction: the worker never holds up shutdown
  // A Qt thread, so the HTTP client's sockets get a working event loop.
  std::unique_ptr<QThread> worker_;
  // Set by the worker as it ends. QThread::wait's own hand-over happens in
  // Qt, out of the race checker's sight; this one is seen.
  platform::ManualResetEvent workerDone_{true};
};
