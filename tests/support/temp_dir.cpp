#include "temp_dir.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  QFile f(QString::fromStdString(path));
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return f.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
}

}  // namespace testsupport
