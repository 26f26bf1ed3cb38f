#include "update/upgrade_helper.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryFile>

#include "platform/upgrade_process.h"
#include "settings/ini_file.h"
#include "platform/dynamic_library.h"
#include "platform/text_rules.h"
#include "update/update_files.h"
#include "update/update_result.h"
#include "updatelib/autorenew_contract.h"

namespace {

std::string FolderOf(const std::string& file) { return file.substr(0, file.rfind('/') + 1); }

// The helper deletes only the update cache of the program it restarts.
bool IsCacheOf(const std::string& cacheFolder, const std::string& programFile) {
  const auto clean = [](const std::string& path) {
    return QDir::cleanPath(QFileInfo(QString::fromStdString(path)).absoluteFilePath());
  };
  return clean(cacheFolder) == clean(FolderOf(programFile) + "dat/" + update::kUpdateCacheFolder);
}

// Places the cached files through the program's own update library, which
// checks them against the signed list once more.
bool ApplyCachedFiles(const HelperArguments& args, const std::string& keyHex) {
  const std::string target = platform::WithTrailingSlash(args.targetFolder);
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

std::string HelperCommandText(int handle, const std::string& cacheFolder, const std::string& targetFolder,
                              const std::string& programFile) {
  return std::to_string(handle) + "\"" + cacheFolder + "\"" + targetFolder + "\"" + programFile + "\"";
}

bool RunUpgradeHelper(const std::string& argumentText, const UpgradeHelperEnvironment& environment) {
  const auto show = [&](const std::string& text, const std::string& caption) {
    if (environment.showMessage) environment.showMessage(text, caption);
  };
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

  // The placing is all or nothing: when it failed, the old program is whole
  // and is started again as it was, its cache kept for a look.
  const bool applied = ApplyCachedFiles(args, environment.publicKeyHex);
  if (applied) {
    if (IsCacheOf(args.cacheFolder, args.programFile)) DeleteFolderTree(args.cacheFolder);
    IniFile(FolderOf(args.programFile) + "dat/" + update::kUpdateLocalFile)
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
  if (copied && event.IsValid() && handle >= 0) {
    const std::string text = HelperCommandText(handle, cacheFolder, targetFolder, programPath);
    QProcess helper;
    helper.setProgram(copyPath);
    helper.setArguments({QString::fromStdString(text)});
    answered = helper.startDetached() && event.Wait(timeoutMs);
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
