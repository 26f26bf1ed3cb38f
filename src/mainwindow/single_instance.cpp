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
    if (instance::HandOverToRunningInstance(commandLine, settings_, runtimeFolder_) ==
        instance::HandOverOutcome::NotDelivered) {
      // The user must not believe the file is playing.
      std::fprintf(stderr, "kinovue: the running Kinovue did not take \"%s\"; it is not opened.\n",
                   app::StripSurroundingQuotes(commandLine).c_str());
      exitCode_ = 1;
    }
    return false;
  }
  instance::WriteRunningHandle(settings_, handle);
  handOver_ = std::make_unique<platform::HandOverServer>(handle, [onPath = std::move(onPath)](const std::string& bytes) {
    if (const auto path = instance::HandedOverPath(bytes)) onPath(*path);
  }, runtimeFolder_);
  return true;
}
