#pragma once
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

// Calls a function on its own thread once a deadline passes, unless disarmed
// first. Used to end an engine run that did not act on "quit" in time,
// without any thread of the owner waiting for it.
class DeadlineTimer {
 public:
  // onExpiry(tag) runs on the timer's thread with the tag given to Arm.
  explicit DeadlineTimer(std::function<void(std::uint64_t tag)> onExpiry);
  // Stops the thread; a pending expiry is dropped.
  ~DeadlineTimer();
  DeadlineTimer(const DeadlineTimer&) = delete;
  DeadlineTimer& operator=(const DeadlineTimer&) = delete;

  // Expires in ms unless already armed for the same tag with an earlier
  // deadline (a second "quit" does not buy the run more time).
  void Arm(int ms, std::uint64_t tag);
  void Disarm();
  // Milliseconds until the armed deadline (0 when passed), or -1 when not armed.
  int Remaining() const;

 private:
  using Clock = std::chrono::steady_clock;
  void Main();

  std::function<void(std::uint64_t)> onExpiry_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool armed_ = false;
  bool stopping_ = false;
  std::uint64_t tag_ = 0;
  Clock::time_point deadline_;
  std::thread thread_;  // last: starts once the fields above exist
};
