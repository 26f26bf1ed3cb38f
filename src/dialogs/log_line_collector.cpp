#include "dialogs/log_line_collector.h"

#include <cstring>

LogLineCollector::LogLineCollector(unsigned message, std::size_t maxPending, std::function<void()> linesWaiting)
    : message_(message), maxPending_(maxPending), linesWaiting_(std::move(linesWaiting)), thread_(*this) {
  thread_.setObjectName(QStringLiteral("engine log lines"));
  // The thread publishes its message target before it starts its event loop.
  std::unique_lock lock(mutex_);
  thread_.start();
  startedSignal_.wait(lock, [this] { return handle_ != 0; });
}

LogLineCollector::~LogLineCollector() {
  thread_.quit();  // also ends an event loop that has not begun yet
  thread_.wait();
}

void LogLineCollector::Thread::run() {
  platform::MessageWindow window(
      [this](unsigned message, std::uintptr_t wParam, std::intptr_t) { return owner_.OnMessage(message, wParam); });
  {
    // Signalled under the lock: the owner cannot go on (and later destroy
    // the condition) before the signal is over.
    std::lock_guard lock(owner_.mutex_);
    owner_.handle_ = window.Handle();
    owner_.startedSignal_.notify_all();
  }
  exec();
}

std::intptr_t LogLineCollector::OnMessage(unsigned message, std::uintptr_t wParam) {
  const char* line = reinterpret_cast<const char*>(wParam);
  if (message != message_ || !line) return 0;
  bool wasEmpty = false;
  {
    std::lock_guard lock(mutex_);
    wasEmpty = pending_.size() == pendingStart_;
    pending_.emplace_back(line, std::strlen(line));
    if (pending_.size() - pendingStart_ > maxPending_) {
      std::string().swap(pending_[pendingStart_++]);
      // Compact once the dropped part is as large as the kept part.
      if (pendingStart_ >= maxPending_) {
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(pendingStart_));
        pendingStart_ = 0;
      }
    }
  }
  if (wasEmpty && linesWaiting_) linesWaiting_();
  return 0;
}

std::vector<std::string> LogLineCollector::Take() {
  std::vector<std::string> lines;
  std::size_t dropped = 0;
  {
    std::lock_guard lock(mutex_);
    lines.swap(pending_);
    dropped = pendingStart_;
    pendingStart_ = 0;
  }
  lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(dropped));
  return lines;
}
