// Scripted engine library: a stand-in for libmplayer.so that plays a script
// instead of media, for exact tests of the engine host. Built as
// ${CMAKE_BINARY_DIR}/scripted-engine/libmplayer.so (target
// kinovue_scripted_engine); point the host's program folder there.
//
// Exports, as the real library:
//   extern "C" int mplayer(int argc, char** argv, int outputFd);  // returns 0
//   extern "C" void mplayer_abort(void);
//
// Environment, read at every mplayer() call:
//   KINOVUE_ENGINE_SCRIPT  path of the script to play
//   KINOVUE_ENGINE_RECORD  path of the record file, appended to
//
// Record file: each line is appended (one write, no fsync) the moment it
// happens, so a test can poll the file:
//   arg <element>   one per argv element, in order, written as is
//   run             when a call starts, after its arguments: a test that
//                   sees the run sees all of them
//   cmd <text>      one per slave command line read from fd 0, without the LF
//   end             when the call returns
// Complete command lines still waiting in fd 0 when the run ends are read
// and recorded too (the real library drains them); an unfinished line is
// dropped.
//
// Script: one step per line; blank lines and lines starting with '#' are
// ignored, as are unknown words; a CR before the LF is ignored. TEXT is the
// rest of the line after one space and may hold the escapes \r \n \t \\ \xHH.
//   line TEXT   write TEXT + "\n" to outputFd in one write()
//   bytes TEXT  write TEXT exactly, in one write()
//   split N     the next line/bytes goes out as two write() calls, the first N
//               bytes, then (30 ms later) the rest; the write is always
//               completed, even if the run ends in the gap
//   sleep MS    pause
//   wait TEXT   block until a command equal to TEXT has been read; commands
//               read earlier in the run count, but each command releases at
//               most one wait
//   hold        block until the run ends ("quit", or abort when deaf)
//   deaf        from now on "quit" is recorded but ends nothing (an engine
//               stuck opening an unreachable address); only mplayer_abort()
//               or the script's end ends the run. "wait quit" still matches.
//   exit        end the run now
//
// While a step runs (sleep, wait, hold, the split gap) and between steps,
// fd 0 is polled every few milliseconds and every command is recorded. A
// command "quit" (or "quit" followed by a space and an argument) ends the run
// at once unless deaf. The call returns when the script ends or the run ends.
// A missing or unreadable script writes nothing and returns at once (still
// recorded). mplayer_abort() makes the call in progress return within ~10 ms
// and does nothing between calls. One call at a time.

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <mutex>
#include <poll.h>
#include <pthread.h>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kSliceMs = 10;  // how often a blocked step looks at fd 0 and abort

std::mutex gCallMutex;
bool gInCall = false;
std::atomic<bool> gAbort{false};

void WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Unknown escapes stay as they are written.
std::string Unescape(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char next = text[i + 1];
    if (next == 'r' || next == 'n' || next == 't' || next == '\\') {
      out += next == 'r' ? '\r' : next == 'n' ? '\n' : next == 't' ? '\t' : '\\';
      ++i;
    } else if (next == 'x' && i + 3 < text.size() && HexDigit(text[i + 2]) >= 0 && HexDigit(text[i + 3]) >= 0) {
      out += static_cast<char>(HexDigit(text[i + 2]) * 16 + HexDigit(text[i + 3]));
      i += 3;
    } else {
      out += '\\';
    }
  }
  return out;
}

int ParseCount(std::string_view text) {
  const long value = std::strtol(std::string(text).c_str(), nullptr, 10);
  return value < 0 ? 0 : value > 3600000 ? 3600000 : static_cast<int>(value);
}

bool IsQuit(std::string_view command) { return command == "quit" || command.starts_with("quit "); }

class Run {
 public:
  Run(int outputFd, int recordFd) : out_(outputFd), record_(recordFd) {}

  void Record(std::string_view kind, std::string_view text = {}) {
    if (record_ < 0) return;
    std::string line(kind);
    if (!text.empty() || kind == "arg" || kind == "cmd") line.append(" ").append(text);
    line += '\n';
    WriteAll(record_, line);
  }

  bool Ended() const { return ended_ || gAbort.load(); }

  void Play(const std::vector<std::string>& script) {
    // No reading before the first step: a script that starts with "deaf" is
    // deaf to a "quit" that is already waiting.
    for (const auto& raw : script) {
      if (Ended()) return;
      Step(raw);
      Pump(0);
    }
  }

  // Reads what is left in fd 0 once the run is over.
  void Drain() {
    while (!inputClosed_ && Pump(0)) {
    }
  }

 private:
  void Step(std::string_view text) {
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    const auto start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos || text[start] == '#') return;
    text.remove_prefix(start);
    const auto space = text.find(' ');
    const auto word = text.substr(0, space);
    const auto arg = space == std::string_view::npos ? std::string_view{} : text.substr(space + 1);

    if (word == "line") {
      Emit(Unescape(arg) + "\n");
    } else if (word == "bytes") {
      Emit(Unescape(arg));
    } else if (word == "split") {
      split_ = ParseCount(arg);
    } else if (word == "sleep") {
      SleepFor(ParseCount(arg));
    } else if (word == "wait") {
      WaitFor(Unescape(arg));
    } else if (word == "hold") {
      while (!Ended()) Pump(kSliceMs);
    } else if (word == "deaf") {
      deaf_ = true;
    } else if (word == "exit") {
      ended_ = true;
    }
  }

  void Emit(const std::string& data) {
    if (split_ < 0 || static_cast<std::size_t>(split_) >= data.size()) {
      split_ = -1;
      WriteAll(out_, data);
      return;
    }
    const auto first = static_cast<std::size_t>(split_);
    split_ = -1;
    WriteAll(out_, std::string_view(data).substr(0, first));
    const auto until = Clock::now() + std::chrono::milliseconds(30);
    while (Clock::now() < until) Pump(kSliceMs);
    WriteAll(out_, std::string_view(data).substr(first));
  }

  void SleepFor(int ms) {
    const auto until = Clock::now() + std::chrono::milliseconds(ms);
    while (!Ended()) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
      if (left <= 0) return;
      Pump(static_cast<int>(left < kSliceMs ? left : kSliceMs));
    }
  }

  void WaitFor(const std::string& wanted) {
    while (!Ended()) {
      for (std::size_t i = waitFrom_; i < commands_.size(); ++i) {
        if (commands_[i] == wanted) {
          waitFrom_ = i + 1;
          return;
        }
      }
      Pump(kSliceMs);
    }
  }

  // Waits up to timeoutMs for input and takes in every complete command.
  // False when nothing was read.
  bool Pump(int timeoutMs) {
    if (inputClosed_) {
      if (timeoutMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
      return false;
    }
    pollfd in{0, POLLIN, 0};
    const int ready = poll(&in, 1, timeoutMs);
    if (ready <= 0) return false;
    if (in.revents & POLLNVAL) {
      inputClosed_ = true;
      return false;
    }
    char buffer[4096];
    const ssize_t n = read(0, buffer, sizeof buffer);
    if (n <= 0) {
      if (n == 0 || errno != EINTR) inputClosed_ = true;
      return false;
    }
    partial_.append(buffer, static_cast<std::size_t>(n));
    std::size_t lf;
    while ((lf = partial_.find('\n')) != std::string::npos) {
      std::string command = partial_.substr(0, lf);
      partial_.erase(0, lf + 1);
      Record("cmd", command);
      if (IsQuit(command) && !deaf_) ended_ = true;
      commands_.push_back(std::move(command));
    }
    return true;
  }

  int out_;
  int record_;
  int split_ = -1;  // -1: next write goes out whole
  bool deaf_ = false;
  bool ended_ = false;
  bool inputClosed_ = false;
  std::string partial_;
  std::vector<std::string> commands_;
  std::size_t waitFrom_ = 0;
};

std::vector<std::string> ReadScript(const char* path) {
  std::vector<std::string> lines;
  if (!path || !*path) return lines;
  std::ifstream file(path, std::ios::binary);
  std::string line;
  while (std::getline(file, line)) lines.push_back(line);
  return lines;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int mplayer(int argc, char** argv, int outputFd) {
  {
    std::lock_guard lock(gCallMutex);
    gInCall = true;
    gAbort = false;
  }
  // A test that closes its output pipe early must not die of SIGPIPE.
  sigset_t pipeOnly, oldMask;
  sigemptyset(&pipeOnly);
  sigaddset(&pipeOnly, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipeOnly, &oldMask);

  const char* recordPath = std::getenv("KINOVUE_ENGINE_RECORD");
  const int recordFd =
      recordPath && *recordPath ? open(recordPath, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644) : -1;
  Run run(outputFd, recordFd);
  for (int i = 0; argv && i < argc; ++i) run.Record("arg", argv[i] ? argv[i] : "");
  run.Record("run");

  run.Play(ReadScript(std::getenv("KINOVUE_ENGINE_SCRIPT")));
  run.Drain();
  run.Record("end");
  if (recordFd >= 0) close(recordFd);

  const timespec zero{0, 0};
  while (sigtimedwait(&pipeOnly, nullptr, &zero) > 0) {
  }
  pthread_sigmask(SIG_SETMASK, &oldMask, nullptr);
  {
    std::lock_guard lock(gCallMutex);
    gInCall = false;
    gAbort = false;
  }
  return 0;
}

extern "C" __attribute__((visibility("default"))) void mplayer_abort(void) {
  std::lock_guard lock(gCallMutex);
  if (gInCall) gAbort = true;
}
