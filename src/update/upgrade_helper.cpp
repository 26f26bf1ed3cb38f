#include "update/upgrade_helper.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryFile>

#include "platform/atomic_file.h"
#include "platform/bounded_file.h"
#include "platform/dynamic_library.h"
#include "platform/program_folder.h"
#include "platform/runtime_folder.h"
#include "platform/text_rules.h"
#include "platform/upgrade_process.h"
#include "settings/ini_file.h"
#include "update/update_files.h"
#include "update/update_result.h"
#include "updatelib/autorenew_contract.h"

namespace {

std::string FolderOf(const std::string& file) { return file.substr(0, file.rfind('/') + 1); }

constexpr std::size_t kTokenHexDigits = 32;

std::string NotePath(const std::string& runtimeFolder, const std::string& token) {
  const std::string folder = runtimeFolder.empty() ? platform::PrivateRuntimeFolder() : runtimeFolder;
  return folder.empty() ? std::string() : platform::WithTrailingSlash(folder) + "upgrade-helper-" + token;
}

// True when the running program left a note for exactly this command text.
// The note is removed whatever it says: a token serves once.
bool ConsumeHelperNote(const std::string& text, const std::string& runtimeFolder) {
  const std::size_t lastQuote = text.rfind('"');
  if (lastQuote == std::string::npos) return false;
  const std::string token = text.substr(lastQuote + 1);
  if (token.size() != kTokenHexDigits || token.find_first_not_of("0123456789abcdef") != std::string::npos) return false;
  const std::string path = NotePath(runtimeFolder, token);
  if (path.empty()) return false;
  std::string note;
  const bool read = platform::ReadRegularFile(path, text.size() + 1, note) == platform::FileRead::kRead;
  QFile::remove(QString::fromStdString(path));
  return read && note == text;
}

// A path with every link resolved, or empty when it does not exist.
QString RealPath(const std::string& path) { return QFileInfo(QString::fromStdString(path)).canonicalFilePath(); }

// Places the cached files through the program's own update library, which
// checks them against the signed list once more.
bool ApplyCachedFiles(const HelperArguments& args, const std::string& keyHex) {
  // The folder itself, not a link to it: the placing syncs the folders it
  // changes and follows no link to do so.
  const QString real = RealPath(args.targetFolder);
  if (real.isEmpty()) return false;
  const std::string target = platform::WithTrailingSlash(real.toStdString());
  platform::DynamicLibrary library;
  if (!library.Load(target + update::kUpdateLibraryFile)) return false;
  const auto apply = reinterpret_cast<CachedUpdateFn>(library.Symbol("_CachedUpdate"));
  return apply && apply(args.cacheFolder.c_str(), target.c_str(), keyHex.empty() ? nullptr : keyHex.c_str()) == 0;
}

}  // namespace

HelperArgumentsKind ParseHelperArguments(const std::string& text, HelperArguments& out) {
  std::string fields[4];
  int quotes = 0;
  for (char c : text) {
    if (c == '"') {
      if (++quotes == 5) return HelperArgumentsKind::TooManyQuotes;
      continue;
    }
    if (quotes < 4) fields[quotes] += c;
  }
  if (quotes < 4) return HelperArgumentsKind::OrdinaryStart;
  if (fields[0].empty() || fields[0].find_first_not_of("0123456789") != std::string::npos ||
      fields[0].size() > 9) {
    return HelperArgumentsKind::HandleNotDigits;
  }
  out = {fields[0], fields[1], fields[2], fields[3]};
  return HelperArgumentsKind::Helper;
}

std::string PrepareHelperCommand(int handle, const std::string& cacheFolder, const std::string& targetFolder,
                                 const std::string& programFile, const std::string& runtimeFolder) {
  std::string token;
  for (std::size_t i = 0; i < kTokenHexDigits / 8; ++i) {
    token += QString::number(QRandomGenerator::system()->generate(), 16).rightJustified(8, '0').toStdString();
  }
  const std::string text =
      std::to_string(handle) + "\"" + cacheFolder + "\"" + targetFolder + "\"" + programFile + "\"" + token;
  const std::string path = NotePath(runtimeFolder, token);
  if (path.empty() || platform::WriteFileAtomically(path, text) != 0) return {};
  return text;
}

bool AreOwnUpdateFolders(const std::string& cacheFolder, const std::string& targetFolder,
                         const std::string& programFolder) {
  const QString program = RealPath(programFolder);
  const QString cache = RealPath(platform::DataFolder(platform::WithTrailingSlash(programFolder)) +
                                 update::kUpdateCacheFolder);
  return !program.isEmpty() && !cache.isEmpty() && RealPath(targetFolder) == program && RealPath(cacheFolder) == cache;
}

bool RunUpgradeHelper(const std::string& argumentText, const UpgradeHelperEnvironment& environment) {
  const auto show = [&](const std::string& text, const std::string& caption) {
    if (environment.showMessage) environment.showMessage(text, caption);
  };
  // Only the running program starts the helper; any other text, a media
  // file's name included, is an ordinary start and no reason for a box.
  if (!ConsumeHelperNote(argumentText, environment.runtimeFolder)) return false;
  HelperArguments args;
  switch (ParseHelperArguments(argumentText, args)) {
    case HelperArgumentsKind::OrdinaryStart: return false;
    case HelperArgumentsKind::TooManyQuotes: show("参数错误", ""); return false;
    case HelperArgumentsKind::HandleNotDigits: show("参数1必须全是数字", ""); return false;
    case HelperArgumentsKind::Helper: break;
  }
  const int handle = std::stoi(args.handle);
  // The old process waits for this signal before it quits; a missing event
  // means it is gone already.
  if (platform::SignalNamedEvent(kQuitEventName, environment.runtimeFolder) && platform::IsProcessHandle(handle)) {
    platform::WaitProcessHandle(handle, kOldProcessTimeoutMs);
  }
  if (platform::IsProcessHandle(handle)) platform::CloseHandle(handle);

  // Folders from the settings file may have been planted: nothing is loaded
  // from, placed into or deleted in any but the program's own. The placing is
  // all or nothing: when it failed, the old program is whole and is started
  // again as it was, its cache kept for a look.
  const bool applied = AreOwnUpdateFolders(args.cacheFolder, args.targetFolder, FolderOf(args.programFile)) &&
                       ApplyCachedFiles(args, environment.publicKeyHex);
  if (applied) {
    DeleteFolderTree(args.cacheFolder);
    IniFile(platform::DataFolder(FolderOf(args.programFile)) + update::kUpdateLocalFile)
        .WriteString("update_info", "upgraded", "1");
  }
  QProcess::startDetached(QString::fromStdString(args.programFile), {});

  // The helper is a throw-away copy in the temporary folder: remove it.
  const QFileInfo own(QString::fromStdString(environment.ownProgramPath));
  if (own.fileName().startsWith("Del") && own.absolutePath() == QFileInfo(QDir::tempPath()).absoluteFilePath()) {
    QFile::remove(own.absoluteFilePath());
  }
  if (applied) {
    show(kHelperDoneText, "");
  } else {
    show(kUpgradeIncompleteText, kUpdateResultCaption);
  }
  return true;
}

bool LaunchUpgradeHelper(const std::string& programPath, const std::string& cacheFolder,
                         const std::string& targetFolder, const std::string& runtimeFolder, int timeoutMs) {
  QString copyPath;
  bool copied = false;
  {
    // Closed (the object gone) before the copy is run: a file still open
    // for writing cannot be executed.
    QTemporaryFile copy(QDir::tempPath() + "/DelXXXXXX");
    copy.setAutoRemove(false);
    QFile program(QString::fromStdString(programPath));
    if (!copy.open()) return false;
    copyPath = copy.fileName();
    copied = program.open(QIODevice::ReadOnly) && copy.write(program.readAll()) == program.size() && copy.flush();
    copy.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }
  platform::NamedEventWaiter event(kQuitEventName, runtimeFolder);
  const int handle = platform::OpenInheritableOwnProcessHandle();
  bool answered = false;
  std::string text;
  if (copied && event.IsValid() && handle >= 0) {
    text = PrepareHelperCommand(handle, cacheFolder, targetFolder, programPath, runtimeFolder);
  }
  if (!text.empty()) {
    QProcess helper;
    helper.setProgram(copyPath);
    helper.setArguments({QString::fromStdString(text)});
    answered = helper.startDetached() && event.Wait(timeoutMs);
    // A helper that never came must not leave a note another start could use.
    if (!answered) QFile::remove(QString::fromStdString(NotePath(runtimeFolder, text.substr(text.rfind('"') + 1))));
  }
  platform::CloseHandle(handle);
  if (!answered) QFile::remove(copyPath);
  return answered;
}

bool DeleteFolderTree(const std::string& folder) {
  QDir dir(QString::fromStdString(folder));
  if (!dir.exists() || QFileInfo(QString::fromStdString(folder)).isSymLink()) return false;
  return dir.removeRecursively();
}
