#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

// Drives an engine library file the way the engine host does: fd 0 replaced
// by a command pipe, the engine's output read from a second pipe on its own
// thread, the mplayer export called on a worker thread.
namespace enginetest {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// dlopen of one engine library file and its two exports.
class EngineLibrary {
 public:
  explicit EngineLibrary(const std::string& path);
  ~EngineLibrary();
  EngineLibrary(const EngineLibrary&) = delete;
  EngineLibrary& operator=(const EngineLibrary&) = delete;

  bool Loaded() const { return run_ && abort_; }
  const std::string& Error() const { return error_; }
  int Run(int argc, char** argv, int outputFd) const { return run_(argc, argv, outputFd); }
  void Abort() const { abort_(); }

 private:
  void* handle_ = nullptr;
  int (*run_)(int, char**, int) = nullptr;
  void (*abort_)() = nullptr;
  std::string error_;
};

// A pipe whose read end is this process's fd 0 until destruction, when the
// original fd 0 comes back.
class CommandPipe {
 public:
  CommandPipe();
  ~CommandPipe();
  CommandPipe(const CommandPipe&) = delete;
  CommandPipe& operator=(const CommandPipe&) = delete;

  bool Send(std::string_view text);
  // True when unread bytes wait in fd 0.
  bool HasUnread() const;

 private:
  int savedStdin_ = -1;
  int write_ = -1;
};

// The engine's output pipe, read on its own thread into one text and into
// the chunks each read() returned.
class OutputPipe {
 public:
  OutputPipe();
  ~OutputPipe();
  OutputPipe(const OutputPipe&) = delete;
  OutputPipe& operator=(const OutputPipe&) = delete;

  int WriteFd() const { return write_; }
  std::string Text() const;
  std::vector<std::string> Chunks() const;
  // True once the text contains `needle`, false after `timeout`.
  bool WaitFor(std::string_view needle, std::chrono::milliseconds timeout) const;

 private:
  void ReadLoop();

  int read_ = -1;
  int write_ = -1;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::string text_;
  std::vector<std::string> chunks_;
  std::thread reader_;
};

// One call of the mplayer export on a worker thread. The destructor aborts a
// call that is still running and joins, so a failing test cannot hang.
class EngineCall {
 public:
  EngineCall(const EngineLibrary& library, std::vector<std::string> args, int outputFd);
  ~EngineCall();
  EngineCall(const EngineCall&) = delete;
  EngineCall& operator=(const EngineCall&) = delete;

  // True when the call has returned within `timeout`.
  bool WaitDone(std::chrono::milliseconds timeout);
  bool Done() const;
  Clock::time_point DoneAt() const;

 private:
  const EngineLibrary& library_;
  std::vector<std::string> args_;
  mutable std::mutex mutex_;
  std::condition_variable doneChanged_;
  bool done_ = false;
  Clock::time_point doneAt_;
  std::thread worker_;
};

// The host's vector for `medium` with the fixed options it always passes
// (Windows names included), `extra` placed before the medium.
std::vector<std::string> HostArgs(const std::string& medium, const std::vector<std::string>& extra = {});

}  // namespace enginetest
