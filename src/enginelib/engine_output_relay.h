#pragma once
#include <atomic>
#include <string>
#include <string_view>
#include <thread>

// MPlayer prints text from the medium as it stands: a title holding a line
// break, or a network stream's title, would otherwise print lines of their
// own that the host takes for the engine's ("ID_LENGTH=1", "Failed to open").
// The engine writes each message with one write; through a packet pipe every
// read is one message, so the lines a message carries after its first are
// known to be its text and are indented, the host parser matching only at
// the start of a line.

// One message as the host gets it: every line after the first non-empty one
// indented (the engine's own messages of several numeric "ID_AUDIO_"/
// "ID_VIDEO_" lines excepted), no line starting with a control byte (the
// host's own markers start with one), and ended by a line break.
std::string RelayEngineMessage(std::string_view message);

// Carries the engine's output to outputFd, one message at a time, on a
// thread of its own, from a packet pipe whose write end the engine gets.
class EngineOutputRelay {
 public:
  explicit EngineOutputRelay(int outputFd);
  // Forwards what is still waiting, then stops. A run given up on (stuck in
  // the kernel) may still hold the write end: what it writes later is lost.
  ~EngineOutputRelay();
  EngineOutputRelay(const EngineOutputRelay&) = delete;
  EngineOutputRelay& operator=(const EngineOutputRelay&) = delete;

  // The engine's standard output and error; -1 when the pipe could not be made.
  int EngineFd() const { return write_; }

 private:
  void Forward();

  int outputFd_;
  int read_ = -1;
  int write_ = -1;
  std::atomic<bool> runEnded_{false};
  std::thread thread_;
};
