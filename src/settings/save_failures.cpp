#include "settings/save_failures.h"

#include <mutex>
#include <utility>

namespace settings {

namespace {

std::mutex& ListenerMutex() {
  static std::mutex mutex;
  return mutex;
}

SaveFailureListener& Listener() {
  static SaveFailureListener listener;
  return listener;
}

}  // namespace

void SetSaveFailureListener(SaveFailureListener listener) {
  std::lock_guard lock(ListenerMutex());
  Listener() = std::move(listener);
}

void ReportSaveFailure(const std::string& path, int error) {
  // Called under the lock, so a listener being replaced is never called
  // after its owner cleared it.
  std::lock_guard lock(ListenerMutex());
  if (Listener()) Listener()(path, error);
}

}  // namespace settings
