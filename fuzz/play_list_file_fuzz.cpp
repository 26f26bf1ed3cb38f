// Feeds arbitrary bytes as a playlist text file: every line handed on is a
// whole path (no line feed, no NUL, within the length limit), and what is
// loaded survives being written and read back unchanged.
#include <QBuffer>
#include <cassert>
#include <cstdint>
#include <deque>
#include <string>

#include "playlist/play_list_file.h"

namespace {

std::deque<std::string> Read(QByteArray bytes) {
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  std::deque<std::string> lines;
  ReadPlayListLines(buffer, [&](const std::string& line) {
    assert(line.size() <= kPlayListMaxLine);
    assert(line.find('\n') == std::string::npos);
    assert(line.find('\0') == std::string::npos);
    lines.push_back(line);
  });
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::deque<std::string> lines = Read(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  QByteArray written;
  QBuffer out(&written);
  out.open(QIODevice::WriteOnly);
  WritePlayListLines(out, lines);
  out.close();
  assert(Read(written) == lines);
  return 0;
}
