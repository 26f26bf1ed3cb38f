#include "platform/user_desktop.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace platform {

namespace {

constexpr int kUpdateToolTimeoutMs = 10000;

std::string BaseFolder(const char* variable, const char* fallbackUnderHome) {
  const QString value = qEnvironmentVariable(variable);
  if (value.startsWith('/')) return value.toStdString();
  return (QDir::homePath() + "/" + fallbackUnderHome).toStdString();
}

std::string ReadWhole(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray data = file.readAll();
  return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

bool WriteAtomically(const std::string& path, const std::string& bytes) {
  const QString name = QString::fromStdString(path);
  if (!QDir().mkpath(QFileInfo(name).absolutePath())) return false;
  QSaveFile file(name);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

}  // namespace

std::string UserConfigHome() { return BaseFolder("XDG_CONFIG_HOME", ".config"); }
std::string UserDataHome() { return BaseFolder("XDG_DATA_HOME", ".local/share"); }

UserDesktop::UserDesktop(std::string configHome, std::string dataHome, std::string updateTool)
    : configHome_(std::move(configHome)), dataHome_(std::move(dataHome)), updateTool_(std::move(updateTool)) {}

std::string UserDesktop::IconPath(const std::string& name, int size) const {
  const std::string pixels = std::to_string(size);
  return dataHome_ + "/icons/hicolor/" + pixels + "x" + pixels + "/apps/" + name + ".png";
}

bool UserDesktop::WriteEntry(const std::string& fileName, const std::string& text) {
  return WriteAtomically(ApplicationsFolder() + "/" + fileName, text);
}

bool UserDesktop::RemoveEntry(const std::string& fileName) {
  const QString path = QString::fromStdString(ApplicationsFolder() + "/" + fileName);
  return QFile::remove(path) || !QFileInfo::exists(path);
}

bool UserDesktop::WriteIcon(const std::string& name, int size, const std::string& png) {
  return WriteAtomically(IconPath(name, size), png);
}

void UserDesktop::RemoveIcon(const std::string& name, int size) { QFile::remove(QString::fromStdString(IconPath(name, size))); }

std::optional<std::string> UserDesktop::DefaultApplication(const std::string& mime) const {
  return DefaultApplicationIn(ReadWhole(MimeAppsPath()), mime);
}

bool UserDesktop::ChangeDefaults(const std::vector<DefaultApplicationChange>& changes) {
  const std::string before = ReadWhole(MimeAppsPath());
  const std::string after = WithDefaultApplications(before, changes);
  return after == before || WriteAtomically(MimeAppsPath(), after);
}

UserDesktop::DatabaseUpdate UserDesktop::UpdateDatabase() const {
  const QString tool = QString::fromStdString(updateTool_);
  const QString program = tool.contains('/') ? (QFileInfo(tool).isExecutable() ? tool : QString())
                                             : QStandardPaths::findExecutable(tool);
  if (program.isEmpty()) return DatabaseUpdate::kToolMissing;
  QProcess process;
  process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process.setStandardOutputFile(QProcess::nullDevice());
  process.start(program, {"-q", QString::fromStdString(ApplicationsFolder())});
  if (!process.waitForFinished(kUpdateToolTimeoutMs)) {
    process.kill();
    process.waitForFinished(1000);
    return DatabaseUpdate::kFailed;
  }
  return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0 ? DatabaseUpdate::kUpdated
                                                                                  : DatabaseUpdate::kFailed;
}

}  // namespace platform
