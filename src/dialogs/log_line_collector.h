#pragma once
#include <QThread>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/message_window.h"

// Receives the engine's log lines on a thread of its own, so that the
// engine's threads, which send each line and wait for it to be taken, are
// never held up by the window's painting or layout: taking a line is a copy
// into a batch under a lock, nothing more. The window collects the batch on
// its own thread.
//
// The message target lives from construction to destruction; a send to it
// after destruction fails at once, so a new collector per showing of the
// window also makes sure that lines sent while the window was closed are
// never shown later.
class LogLineCollector {
 public:
  // message: the message number the engine is told to send (wParam a
  // NUL-terminated line). maxPending: the batch keeps only the newest lines
  // beyond this many, should the window not collect for a long time.
  // linesWaiting runs on the collector's thread each time a line arrives
  // into an empty batch; the window then schedules a collection.
  LogLineCollector(unsigned message, std::size_t maxPending, std::function<void()> linesWaiting);
  // Stops the thread; senders still waiting are released (their send fails).
  ~LogLineCollector();
  LogLineCollector(const LogLineCollector&) = delete;
  LogLineCollector& operator=(const LogLineCollector&) = delete;

  // The target to give the engine.
  platform::WindowHandle Handle() const { return handle_; }

  // The lines received since the last call, oldest first.
  std::vector<std::string> Take();

 private:
  class Thread : public QThread {
   public:
    explicit Thread(LogLineCollector& owner) : owner_(owner) {}
    void run() override;

   private:
    LogLineCollector& owner_;
  };

  std::intptr_t OnMessage(unsigned message, std::uintptr_t wParam);

  const unsigned message_;
  const std::size_t maxPending_;
  const std::function<void()> linesWaiting_;
  std::mutex mutex_;
  std::condition_variable startedSignal_;  // handle_ was set
  std::vector<std::string> pending_;
  std::size_t pendingStart_ = 0;  // lines before it were dropped by the cap
  platform::WindowHandle handle_ = 0;
  Thread thread_;
};
