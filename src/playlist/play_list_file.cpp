#include "playlist/play_list_file.h"

#include <QFile>
#include <QSaveFile>
#include <QString>
#include <algorithm>
#include <vector>

namespace {

QString FileName(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

}  // namespace

bool WritePlayListFile(const std::string& path, const std::deque<std::string>& items) {
  if (path.empty()) return false;
  QSaveFile file(FileName(path));
  // An export into a folder we may not create files in still works in place.
  file.setDirectWriteFallback(true);
  if (!file.open(QIODevice::WriteOnly)) return false;
  WritePlayListLines(file, items);
  return file.commit();
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
  QFile file(FileName(path));
  if (!file.open(QIODevice::ReadOnly)) return false;
  ReadPlayListLines(file, onLine);
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
