#include "playlist/play_list_file.h"

#include <QBuffer>
#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/bounded_file.h"

int WritePlayListFile(const std::string& path, const std::deque<std::string>& items,
                      const platform::AtomicWriteOptions& options) {
  if (path.empty()) return EINVAL;
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  WritePlayListLines(buffer, items);
  return platform::WriteFileAtomically(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                                       options);
}

void WritePlayListLines(QIODevice& file, const std::deque<std::string>& items) {
  for (const std::string& item : items) {
    if (item.find('\n') != std::string::npos) continue;
    file.write(item.data(), static_cast<qint64>(item.size()));
    file.write("\r\n", 2);
  }
}

bool ReadPlayListFile(const std::string& path, const std::function<void(const std::string&)>& onLine) {
  if (path.empty()) return false;
  std::string bytes;
  if (platform::ReadRegularFile(path, platform::kMaxListFileBytes, bytes) != platform::FileRead::kRead) return false;
  QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  ReadPlayListLines(buffer, onLine);
  return true;
}

void ReadPlayListLines(QIODevice& file, const std::function<void(const std::string&)>& onLine) {
  std::vector<char> chunk(64 * 1024);
  std::string line;
  // Set once the line has grown past any acceptable length; its remaining
  // bytes are then dropped up to its line feed instead of being kept.
  bool tooLong = false;
  auto deliver = [&] {
    if (!tooLong) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.size() <= kPlayListMaxLine) {
        const std::size_t nul = line.find('\0');
        if (nul != std::string::npos) line.resize(nul);
        onLine(line);
      }
    }
    line.clear();
    tooLong = false;
  };
  bool pending = false;  // bytes of a line whose line feed has not come yet
  for (;;) {
    const qint64 got = file.read(chunk.data(), static_cast<qint64>(chunk.size()));
    if (got <= 0) break;
    const char* p = chunk.data();
    const char* end = p + got;
    while (p < end) {
      const char* lf = std::find(p, end, '\n');
      if (!tooLong) {
        // Keep room for a CR that may precede the line feed.
        const std::size_t room = kPlayListMaxLine + 1 - line.size();
        const std::size_t take = static_cast<std::size_t>(lf - p);
        if (take > room) {
          tooLong = true;
          line.clear();
        } else {
          line.append(p, take);
        }
      }
      if (lf == end) {
        pending = true;
        break;
      }
      deliver();
      pending = false;
      p = lf + 1;
    }
  }
  // A last line without a line end (a list written by hand or by another
  // program) is a line too; after a read error it may be cut short and is
  // left out.
  if (pending && file.atEnd()) deliver();
}
