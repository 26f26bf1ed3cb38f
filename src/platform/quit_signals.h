#pragma once
#include <functional>
#include <memory>

namespace platform {

// SIGTERM (a logout, a task manager), SIGINT (Ctrl+C in the terminal) and
// SIGHUP (the terminal closed) end the program the way its Exit command
// does. The handler only notes the signal and writes a byte to a pipe; the
// event loop of the thread that made this object reads it and calls onQuit
// once. From the first signal on, the process has graceMs to be gone: then,
// or at a second such signal, it ends at once, by the signal it was sent.
// One object per process; the UI thread makes it.
class QuitSignals {
 public:
  QuitSignals(std::function<void(int signal)> onQuit, int graceMs);
  // The three signals end the process at once again. A grace time that has
  // begun keeps running: the rest of the way out stays bounded.
  ~QuitSignals();
  QuitSignals(const QuitSignals&) = delete;
  QuitSignals& operator=(const QuitSignals&) = delete;

  bool Installed() const;
  // The first quit signal received; 0 while none was.
  static int Received();

  struct Reader;

 private:
  std::unique_ptr<Reader> reader_;
};

}  // namespace platform
