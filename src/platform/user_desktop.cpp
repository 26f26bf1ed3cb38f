#include "platform/user_desktop.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "platform/atomic_file.h"
#include "platform/bounded_file.h"

namespace platform {

namespace {

constexpr int kUpdateToolTimeoutMs = 10000;

std::string BaseFolder(const char* variable, const char* fallbackUnderHome) {
  const QString value = qEnvironmentVariable(variable);
  if (value.startsWith('/')) return value.toStdString();
  return (QDir::homePath() + "/" + fallbackUnderHome).toStdString();
}

// mimeapps.list as it is: false when something is there that cannot be read
// (a FIFO, a device, a huge file), which is then never rewritten.
bool ReadList(const std::string& path, std::string& text) {
  const FileRead read = ReadRegularFile(path, kMaxSettingsFileBytes, text);
  return read == FileRead::kRead || read == FileRead::kMissing;
}

bool WriteAtomically(const std::string& path, const std::string& bytes) {
  AtomicWriteOptions options;
  options.createFolder = true;
  return WriteFileAtomically(path, bytes, options) == 0;
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
  std::string text;
  ReadList(MimeAppsPath(), text);
  return DefaultApplicationIn(text, mime);
}

bool UserDesktop::ChangeDefaults(const std::vector<DefaultApplicationChange>& changes) {
  std::string before;
  if (!ReadList(MimeAppsPath(), before)) return false;
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
