// Feeds arbitrary engine output, cut into arbitrary reads, through the
// reader's line splitting and the line handler.
#include <cassert>
#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/output_lines.h"
#include "engine/output_parser.h"

namespace {

struct Sink : OutputEvents {
  void OnLength(int, int) override {}
  void OnPosition(int position, int) override { assert(position >= 0); }
  void OnPlaybackStarted() override {}
  void OnLogLine(const char* line) override { assert(*line); }
  void OnFailure(const char* line) override { assert(*line); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  // The first byte picks the read size, as the pipe would cut the stream,
  // up to the reader's whole read (kMaxLine).
  const std::size_t readSize = 1 + data[0] % 64 * 16;
  static_assert(1 + 63 * 16 <= LineSplitter::kMaxLine);
  ++data;
  --size;
  MediaFields fields;
  Sink sink;
  LineSplitter splitter;
  auto onLine = [&](const char* line, std::size_t length) {
    assert(length > 0 && length <= LineSplitter::kMaxLine);
    assert(std::strlen(line) == length);
    assert(!std::memchr(line, '\r', length) && !std::memchr(line, '\n', length));
    HandleOutputLine(line, length, fields, sink);
  };
  std::vector<char> chunk(readSize + 1);
  for (std::size_t at = 0; at < size; at += readSize) {
    const std::size_t n = std::min(readSize, size - at);
    std::memcpy(chunk.data(), data + at, n);
    splitter.Feed(chunk.data(), n, onLine);
  }
  splitter.Finish(onLine);
  return 0;
}
