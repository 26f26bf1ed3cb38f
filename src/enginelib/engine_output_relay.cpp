#include "enginelib/engine_output_relay.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <vector>

#include "enginelib/engine_process.h"

namespace {

constexpr char kIndent[] = "  ";
// A packet is at most one page (PIPE_BUF); a larger buffer loses nothing.
constexpr std::size_t kReadSize = 65536;
constexpr int kPollMs = 50;

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }

// "ID_AUDIO_RATE=44100": what the engine prints several of in one message.
bool IsNumericStreamLine(std::string_view line) {
  if (line.substr(0, 9) != "ID_AUDIO_" && line.substr(0, 9) != "ID_VIDEO_") return false;
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos || equals + 1 == line.size()) return false;
  for (std::size_t i = 9; i < equals; ++i) {
    if (!((line[i] >= 'A' && line[i] <= 'Z') || line[i] == '_')) return false;
  }
  for (std::size_t i = equals + 1; i < line.size(); ++i) {
    if (!((line[i] >= '0' && line[i] <= '9') || line[i] == '.' || line[i] == '-')) return false;
  }
  return true;
}

std::vector<std::string_view> Lines(std::string_view message) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= message.size(); ++i) {
    if (i == message.size() || IsLineEnd(message[i])) {
      lines.push_back(message.substr(start, i - start));
      start = i + 1;
    }
  }
  return lines;
}

}  // namespace

std::string RelayEngineMessage(std::string_view message) {
  std::string out;
  out.reserve(message.size() + 16);
  bool allNumeric = true;
  for (std::string_view line : Lines(message)) allNumeric = allNumeric && (line.empty() || IsNumericStreamLine(line));
  bool seenText = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= message.size(); ++i) {
    if (i < message.size() && !IsLineEnd(message[i])) continue;
    const std::string_view line = message.substr(start, i - start);
    if (!line.empty()) {
      if ((seenText && !allNumeric) || IsControl(line[0])) out += kIndent;
      out += line;
      seenText = true;
    }
    // The line's own end (the status line ends in CR alone); the last line
    // of a message is always ended, so no message runs into the next.
    if (i < message.size()) {
      out += message[i];
    } else if (!line.empty()) {
      out += '\n';
    }
    start = i + 1;
  }
  return out;
}

EngineOutputRelay::EngineOutputRelay(int outputFd) : outputFd_(outputFd) {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC | O_DIRECT) != 0) return;
  read_ = ends[0];
  write_ = ends[1];
  thread_ = std::thread(&EngineOutputRelay::Forward, this);
}

EngineOutputRelay::~EngineOutputRelay() {
  if (write_ < 0) return;
  runEnded_ = true;
  close(write_);
  thread_.join();
  close(read_);
}

void EngineOutputRelay::Forward() {
  std::vector<char> buffer(kReadSize);
  for (;;) {
    pollfd ready{read_, POLLIN, 0};
    const int polled = poll(&ready, 1, kPollMs);
    if (polled == 0) {
      if (runEnded_) return;  // ended, and nothing more came
      continue;
    }
    if (polled < 0) {
      if (errno == EINTR) continue;
      return;
    }
    const ssize_t n = read(read_, buffer.data(), buffer.size());
    if (n == 0) return;  // every writer has gone
    if (n < 0) {
      if (errno == EINTR) continue;
      return;
    }
    WriteWithoutSigpipe(outputFd_, RelayEngineMessage(std::string_view(buffer.data(), static_cast<std::size_t>(n))));
  }
}
