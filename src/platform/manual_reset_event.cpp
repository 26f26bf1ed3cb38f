#include "platform/manual_reset_event.h"

#include <chrono>

namespace platform {

void ManualResetEvent::Set() {
  // Notified under the lock: a waiter that returns may destroy the event at
  // once, and the notification must not reach a destroyed condition.
  std::lock_guard lock(mutex_);
  set_ = true;
  changed_.notify_all();
}

void ManualResetEvent::Reset() {
  std::lock_guard lock(mutex_);
  set_ = false;
}

bool ManualResetEvent::IsSet() const {
  std::lock_guard lock(mutex_);
  return set_;
}

bool ManualResetEvent::Wait(int timeoutMs) const {
  std::unique_lock lock(mutex_);
  if (timeoutMs < 0) {
    changed_.wait(lock, [this] { return set_; });
    return true;
  }
  return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return set_; });
}

}  // namespace platform
