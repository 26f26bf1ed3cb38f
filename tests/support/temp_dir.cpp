#include "temp_dir.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fstream>

namespace testsupport {

TempDir::TempDir() {
  QTemporaryDir dir(QDir::tempPath() + "/kinovue-test-XXXXXX");
  dir.setAutoRemove(false);
  path_ = dir.path().toStdString();
}

TempDir::~TempDir() {
  QDir(QString::fromStdString(path_)).removeRecursively();
}

std::string ReadFileBytes(const std::string& path) {
  QFile f(QString::fromStdString(path));
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray data = f.readAll();
  return std::string(data.constData(), data.size());
}

// The name's own bytes, which need not be UTF-8 (through QString they would
// have to be).
bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  return f.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) && f.flush();
}

}  // namespace testsupport
