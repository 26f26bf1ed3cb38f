#pragma once
#include <array>
#include <cstddef>
#include <cstring>

// Cuts the engine's console output into lines. NUL, CR and LF end a line
// (the status line ends in CR alone); empty lines are dropped. A line split
// across two reads is joined; a single line longer than the carry buffer is
// handed over in pieces rather than growing without bound.
class LineSplitter {
 public:
  static constexpr std::size_t kMaxLine = 1025;

  // Feeds one read of at most kMaxLine bytes. onLine(const char* line,
  // std::size_t length) is called for every finished line, NUL-terminated.
  // The chunk is modified in place (terminators become NUL), and must have
  // one spare byte after size.
  template <typename OnLine>
  void Feed(char* chunk, std::size_t size, OnLine&& onLine);

  // End of output: hands over an unfinished last line.
  template <typename OnLine>
  void Finish(OnLine&& onLine) {
    EmitCarry(onLine);
  }

 private:
  static bool IsEnd(char c) { return c == '\n' || c == '\r' || c == '\0'; }

  template <typename OnLine>
  void EmitCarry(OnLine& onLine) {
    if (carried_ == 0) return;
    carry_[carried_] = '\0';
    const std::size_t length = carried_;
    carried_ = 0;
    onLine(static_cast<const char*>(carry_.data()), length);
  }

  std::array<char, kMaxLine + 1> carry_{};
  std::size_t carried_ = 0;
};

template <typename OnLine>
void LineSplitter::Feed(char* chunk, std::size_t size, OnLine&& onLine) {
  std::size_t i = 0;
  // First finish the line the previous read left open.
  if (carried_ > 0) {
    while (i < size && !IsEnd(chunk[i])) {
      if (carried_ == kMaxLine) EmitCarry(onLine);
      carry_[carried_++] = chunk[i++];
    }
    if (i == size) return;
    EmitCarry(onLine);
  }
  while (i < size) {
    if (IsEnd(chunk[i])) {
      ++i;
      continue;
    }
    const std::size_t start = i;
    while (i < size && !IsEnd(chunk[i])) ++i;
    if (i == size) {
      // Unfinished: keep it for the next read, in pieces if it is too long.
      for (std::size_t j = start; j < size; ++j) {
        if (carried_ == kMaxLine) EmitCarry(onLine);
        carry_[carried_++] = chunk[j];
      }
      return;
    }
    chunk[i] = '\0';
    onLine(static_cast<const char*>(chunk + start), i - start);
    ++i;
  }
}
