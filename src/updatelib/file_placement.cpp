#include "updatelib/file_placement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "updatelib/check_file.h"

namespace {

QString Join(const std::string& folder, const std::string& name) {
  std::string path = folder;
  if (path.empty() || path.back() != '/') path += '/';
  return QString::fromStdString(path + name);
}

// Every existing step from folder to folder/name is a real folder (or, for
// the last, a real file); with create, missing folders are made.
bool WayIsSafe(const std::string& folder, const std::string& name, bool create, std::string& error) {
  if (!IsSafeRelativeName(name)) {
    error = "unsafe name: " + name;
    return false;
  }
  const QFileInfo base(QString::fromStdString(folder));
  if (!base.isDir()) {
    error = "no folder " + folder;
    return false;
  }
  std::string partial;
  std::size_t start = 0;
  for (;;) {
    const std::size_t slash = name.find('/', start);
    const bool last = slash == std::string::npos;
    partial = name.substr(0, last ? std::string::npos : slash);
    const QString path = Join(folder, partial);
    const QFileInfo step(path);
    if (step.isSymLink()) {
      error = "symbolic link on the way: " + partial;
      return false;
    }
    if (last) {
      if (step.exists() && !step.isFile()) {
        error = "not a plain file: " + partial;
        return false;
      }
      return true;
    }
    if (!step.exists()) {
      if (!create) return true;  // nothing below a missing folder can be a link
      if (!QDir().mkdir(path)) {
        error = "cannot create folder " + partial;
        return false;
      }
    } else if (!step.isDir()) {
      error = "not a folder: " + partial;
      return false;
    }
    start = slash + 1;
  }
}

}  // namespace

bool PlaceFile(const std::string& folder, const std::string& name, const std::string& bytes, bool executable,
               std::string& error) {
  if (!WayIsSafe(folder, name, true, error)) return false;
  QSaveFile file(Join(folder, name));
  if (!file.open(QIODevice::WriteOnly)) {
    error = "cannot write " + name + ": " + file.errorString().toStdString();
    return false;
  }
  const auto written = file.write(bytes.data(), static_cast<qint64>(bytes.size()));
  QFileDevice::Permissions permissions =
      QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
  if (executable) permissions |= QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
  file.setPermissions(permissions);
  if (written != static_cast<qint64>(bytes.size()) || !file.commit()) {
    error = "cannot write " + name + ": " + file.errorString().toStdString();
    return false;
  }
  return true;
}

bool CanPlaceFile(const std::string& folder, const std::string& name, std::string& error) {
  return WayIsSafe(folder, name, false, error);
}

bool MakeWay(const std::string& folder, const std::string& name, std::string& error) {
  return WayIsSafe(folder, name, true, error);
}

bool ReadPlacedFile(const std::string& folder, const std::string& name, long long maxBytes, std::string& bytes) {
  std::string error;
  if (!WayIsSafe(folder, name, false, error)) return false;
  if (!QFileInfo(Join(folder, name)).isFile()) return false;
  QFile file(Join(folder, name));
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray data = file.read(maxBytes + 1);
  bytes.assign(data.constData(), static_cast<std::size_t>(data.size()));
  return true;
}

bool IsExecutableFile(const std::string& folder, const std::string& name) {
  const QFileInfo info(Join(folder, name));
  return info.isFile() && info.isExecutable();
}
