#pragma once
#include <condition_variable>
#include <mutex>

namespace platform {

// An event that stays signalled until reset: every waiter is released while
// it is set. Safe to use from any thread.
class ManualResetEvent {
 public:
  explicit ManualResetEvent(bool initiallySet = false) : set_(initiallySet) {}

  void Set();
  void Reset();
  bool IsSet() const;
  // Waits until set or until timeoutMs passed (negative: no limit).
  // True when the event is set.
  bool Wait(int timeoutMs = -1) const;

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  bool set_;
};

}  // namespace platform
