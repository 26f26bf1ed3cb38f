#include "mainwindow/single_instance.h"

#include <cstdio>
#include <utility>

#include "mainwindow/instance_hand_over.h"
#include "platform/hand_over.h"
#include "platform/named_mutex.h"
#include "settings/ini_file.h"

SingleInstance::SingleInstance(IniFile& settings, std::string runtimeFolder)
    : settings_(settings), runtimeFolder_(std::move(runtimeFolder)) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::Claim(platform::WindowHandle handle, const std::vector<std::string>& paths,
                           PathHandler onPaths) {
  lock_ = std::make_unique<platform::NamedMutex>(instance::kInstanceMutexName, runtimeFolder_);
  if (lock_->AlreadyRunning()) {
    const auto runningEnded = [this] {
      lock_ = std::make_unique<platform::NamedMutex>(instance::kInstanceMutexName, runtimeFolder_);
      return !lock_->AlreadyRunning();
    };
    const instance::HandOverOutcome outcome = instance::HandOverToRunningInstance(
        paths, settings_, runtimeFolder_, platform::kHandOverTimeoutMs, runningEnded);
    if (outcome == instance::HandOverOutcome::NotDelivered && lock_->Acquired())
      return TakeFiles(handle, std::move(onPaths));
    // The user must not believe a file is playing that is not.
    const std::vector<std::string> notTaken = outcome == instance::HandOverOutcome::NotDelivered
                                                  ? paths
                                                  : instance::HandOverMessageOf(paths).leftOut;
    for (const std::string& path : notTaken) {
      if (path.empty()) continue;
      std::fprintf(stderr, "kinovue: the running Kinovue did not take \"%s\"; it is not opened.\n", path.c_str());
      exitCode_ = 1;
    }
    return false;
  }
  return TakeFiles(handle, std::move(onPaths));
}

bool SingleInstance::TakeFiles(platform::WindowHandle handle, PathHandler onPaths) {
  instance::WriteRunningHandle(settings_, handle);
  handOver_ = std::make_unique<platform::HandOverServer>(
      handle,
      [onPaths = std::move(onPaths)](const std::string& bytes) {
        const std::vector<std::string> paths = instance::HandedOverPaths(bytes);
        if (!paths.empty()) onPaths(paths);
      },
      runtimeFolder_);
  return true;
}

void SingleInstance::StopTakingFiles() { handOver_.reset(); }
