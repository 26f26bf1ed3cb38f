#include "update/update_library.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>
#include <QTimer>
#include <vector>

#include "update/update_files.h"
#include "update/update_result.h"

namespace {

// Interrupting the worker: its waits end as soon as they see it.
constexpr int kStopMs = 1000;

}  // namespace

UpdateLibrary::~UpdateLibrary() {
  // The worker uses this object: it is waited for, interrupted first.
  if (!Stop(kStopMs) && worker_) worker_->wait();
  workerDone_.Wait(1000);  // bounded: a worker that never started never sets it
  // Left loaded as long as the context lives: nothing else frees it.
  if (context_ && finish_) finish_(context_);
}

bool UpdateLibrary::Load(const UpdateLoadParams& params) {
  params_ = params;
  const auto show = [this](const std::string& text) {
    if (params_.showError) params_.showError(text);
  };
  if (!library_.Load(params.libraryPath)) {
    show("不能载入动态链接库\"" + params.libraryPath + "\", Error Code=" + std::to_string(library_.ErrorNumber()));
    return false;
  }
  const auto resolve = [this](auto& slot, const char* name) {
    slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(library_.Symbol(name));
    return slot != nullptr;
  };
  const bool all = resolve(init_, "_AutoRenewDllInit") && resolve(finish_, "_UpdateFinish") &&
                   resolve(getServerListCount_, "_GetServerListCount") &&
                   resolve(getServerList_, "_GetServerList") && resolve(freeServerList_, "_FreeServerList") &&
                   resolve(getUpdateInfo_, "_GetUpdateInfoFromServer") &&
                   resolve(updateAllFiles_, "_UpdateAllFiles") &&
                   resolve(checkCachedUpdate_, "_CheckCachedUpdate") &&
                   resolve(needUpdateMainProcess_, "_NeedUpdateMainProcess") &&
                   resolve(cachedUpdate_, "_CachedUpdate");
  if (!all) {
    show("在动态链接库" + params.libraryPath + "中定位函数失败");
    finish_ = nullptr;
    library_.Free();
    return false;
  }
  resolve(getOfferedVersion_, "_GetOfferedVersion");
  // Its network code leaves connections in Qt's own objects, which the
  // application object tears down last: unloading it earlier would leave
  // them calling into nothing.
  library_.KeepLoaded();
  programFolder_ = params.programFolder;
  serverConfigPath_ = params.dataFolder + update::kUpdateServerFile;
  localConfigPath_ = params.dataFolder + update::kUpdateLocalFile;
  logPath_ = params.dataFolder + update::kUpdateLogFile;
  cacheFolder_ = params.dataFolder + update::kUpdateCacheFolder;
  cacheFolderAgain_ = cacheFolder_;

  block_ = UpdateInitBlock{};
  block_.serverConfigPath = serverConfigPath_.c_str();
  block_.localConfigPath = localConfigPath_.c_str();
  block_.publicKeyHex = params.publicKeyHex.empty() ? nullptr : params_.publicKeyHex.c_str();
  block_.logPath = logPath_.c_str();
  block_.cacheFolder = cacheFolder_.c_str();
  block_.programFolder = programFolder_.c_str();
  block_.cacheFolderAgain = cacheFolderAgain_.c_str();
  block_.protocol = 2;
  context_ = init_(&block_);
  return true;
}

void UpdateLibrary::StartUpdateThread(bool manual) {
  if (!context_) return;
  if (worker_) worker_->wait();
  workerDone_.Wait(1000);  // bounded: a worker that never started never sets it
  workerDone_.Reset();
  worker_.reset(QThread::create([this, manual] {
    // The network code waits in this thread's event loops: ending the
    // thread's loops (QThread::exit) ends every wait, this one and all that
    // would follow, so the check fails fast once its time is up.
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [] { QThread::currentThread()->exit(1); });
    deadline.start(params_.sessionMs);
    const int code = RunUpdate(params_.owner, manual);
    platform::SendMessage(params_.owner, params_.resultMessage, static_cast<std::uintptr_t>(code), 0, nullptr,
                          &gate_);
    workerDone_.Set();
  }));
  worker_->start();
}

bool UpdateLibrary::Stop(int timeoutMs) {
  gate_.Close();
  if (!worker_) return true;
  // Thread-safe: ends the worker's event loops, as its deadline does.
  worker_->exit(1);
  return worker_->wait(QDeadlineTimer(timeoutMs));
}

int UpdateLibrary::RunUpdate(platform::WindowHandle owner, bool manual) {
  // An installed copy is updated by the package manager: it never calls the
  // server on its own.
  const bool packaged = !QFileInfo(QString::fromStdString(programFolder_)).isWritable();
  if (packaged && !manual) return UPDATE_RESULT_PACKAGE_MANAGED;
  int count = 0;
  if (!context_ || getServerListCount_(context_, &count) == AUTORENEW_FAILED || count <= 0) {
    return UPDATE_RESULT_NO_SERVER_LIST;
  }
  std::vector<char*> servers(static_cast<std::size_t>(count), nullptr);
  if (getServerList_(context_, servers.data()) == AUTORENEW_FAILED) return UPDATE_RESULT_NO_SERVER_LIST;
  // Only the first server is asked.
  const std::string first = servers[0] ? servers[0] : "";
  freeServerList_(context_, servers.data());

  if (packaged) return AskOffered(first);
  switch (getUpdateInfo_(context_, first.c_str(), 0, 0)) {
    case AUTORENEW_UP_TO_DATE: return UPDATE_RESULT_LATEST;
    case AUTORENEW_BAD_SERVER_TEXT: return UPDATE_RESULT_BAD_SERVER_TEXT;
    case AUTORENEW_LIST_FAILED: return UPDATE_RESULT_LIST_FAILED;
    case AUTORENEW_NOTHING_NEWER: return UPDATE_RESULT_NOTHING_NEWER;
    case AUTORENEW_PACKAGE_MANAGED: return UPDATE_RESULT_PACKAGE_MANAGED;
    default: break;
  }
  if (updateAllFiles_(context_) == AUTORENEW_FAILED) return UPDATE_RESULT_FILE_FAILED;
  // Newer files were there and are in place: the user hears that they are.
  if ((checkCachedUpdate_(localConfigPath_.c_str()) & 0xFF) == 0) return UPDATE_RESULT_DONE;

  std::string cacheFolder = cacheFolder_;
  if (!programFolder_.empty() && programFolder_.back() == '/' && cacheFolder.back() != '/') cacheFolder += '/';
  std::intptr_t yes = 0;
  if (!platform::SendMessage(owner, params_.questionMessage, 0, 0, &yes, &gate_)) yes = 0;
  if (yes && params_.launchHelper && params_.launchHelper(owner, cacheFolder, programFolder_)) {
    return UPDATE_RESULT_LATEST;
  }
  // Postponed, or the helper did not answer: the next start does it.
  CachedUpdatePaths paths{cacheFolder, programFolder_};
  platform::SendMessage(owner, params_.cachedMessage, reinterpret_cast<std::uintptr_t>(&paths), 0, nullptr, &gate_);
  return yes ? UPDATE_RESULT_HELPER_FAILED : UPDATE_RESULT_POSTPONED;
}

int UpdateLibrary::AskOffered(const std::string& server) {
  if (!getOfferedVersion_) return UPDATE_RESULT_PACKAGE_MANAGED;
  long long version = 0;
  switch (getOfferedVersion_(context_, server.c_str(), &version)) {
    case AUTORENEW_OK: offered_ = version; return UPDATE_RESULT_PACKAGE_OFFERED;
    case AUTORENEW_UP_TO_DATE: return UPDATE_RESULT_LATEST;
    case AUTORENEW_BAD_SERVER_TEXT: return UPDATE_RESULT_BAD_SERVER_TEXT;
    default: return UPDATE_RESULT_LIST_FAILED;
  }
}
