#include "engine/deadline_timer.h"

DeadlineTimer::DeadlineTimer(std::function<void(std::uint64_t)> onExpiry)
    : onExpiry_(std::move(onExpiry)), thread_(&DeadlineTimer::Main, this) {}

DeadlineTimer::~DeadlineTimer() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void DeadlineTimer::Arm(int ms, std::uint64_t tag) {
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(ms);
  {
    std::lock_guard lock(mutex_);
    if (armed_ && tag_ == tag && deadline_ <= deadline) return;
    armed_ = true;
    tag_ = tag;
    deadline_ = deadline;
  }
  changed_.notify_all();
}

void DeadlineTimer::Disarm() {
  {
    std::lock_guard lock(mutex_);
    armed_ = false;
  }
  changed_.notify_all();
}

int DeadlineTimer::Remaining() const {
  std::lock_guard lock(mutex_);
  if (!armed_) return -1;
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

void DeadlineTimer::Main() {
  std::unique_lock lock(mutex_);
  for (;;) {
    if (stopping_) return;
    if (!armed_) {
      changed_.wait(lock);
      continue;
    }
    if (changed_.wait_until(lock, deadline_) == std::cv_status::timeout && armed_ && !stopping_ &&
        Clock::now() >= deadline_) {
      armed_ = false;
      const std::uint64_t tag = tag_;
      lock.unlock();
      onExpiry_(tag);
      lock.lock();
    }
  }
}
