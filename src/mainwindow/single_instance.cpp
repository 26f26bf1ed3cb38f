#include "mainwindow/single_instance.h"

#include <cstdio>
#include <utility>

#include "mainwindow/command_line.h"
#include "mainwindow/instance_hand_over.h"
#include "platform/hand_over.h"
#include "platform/named_mutex.h"
#include "settings/ini_file.h"

SingleInstance::SingleInstance(IniFile& settings, std::string runtimeFolder)
    : settings_(settings), runtimeFolder_(std::move(runtimeFolder)) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::Claim(platform::WindowHandle handle, const std::string& commandLine, PathHandler onPath) {
  lock_ = std::make_unique<platform::NamedMutex>(instance::kInstanceMutexName, runtimeFolder_);
  if (lock_->AlreadyRunning()) {
    const auto runningEnded = [this] {
      lock_ = std::make_unique<platform::NamedMutex>(instance::kInstanceMutexName, runtimeFolder_);
      return !lock_->AlreadyRunning();
    };
    const instance::HandOverOutcome outcome = instance::HandOverToRunningInstance(
        commandLine, settings_, runtimeFolder_, platform::kHandOverTimeoutMs, runningEnded);
    if (outcome == instance::HandOverOutcome::NotDelivered && lock_->Acquired())
      return TakeFiles(handle, std::move(onPath));
    if (outcome == instance::HandOverOutcome::NotDelivered) {
      // The user must not believe the file is playing.
      std::fprintf(stderr, "kinovue: the running Kinovue did not take \"%s\"; it is not opened.\n",
                   app::StripSurroundingQuotes(commandLine).c_str());
      exitCode_ = 1;
    }
    return false;
  }
  return TakeFiles(handle, std::move(onPath));
}

bool SingleInstance::TakeFiles(platform::WindowHandle handle, PathHandler onPath) {
  instance::WriteRunningHandle(settings_, handle);
  handOver_ = std::make_unique<platform::HandOverServer>(handle, [onPath = std::move(onPath)](const std::string& bytes) {
    if (const auto path = instance::HandedOverPath(bytes)) onPath(*path);
  }, runtimeFolder_);
  return true;
}

void SingleInstance::StopTakingFiles() { handOver_.reset(); }
