#include "platform/program_folder.h"

#include <climits>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/text_rules.h"

namespace platform {
namespace {

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return home;
  const passwd* entry = getpwuid(getuid());
  return entry && entry->pw_dir ? entry->pw_dir : "";
}

// Creates every missing folder of an absolute path with the given mode.
void MakeFolders(const std::string& path, mode_t mode) {
  for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
    mkdir(path.substr(0, slash).c_str(), mode);
  }
  mkdir(path.c_str(), mode);
}

// True for a folder of the user's own that nobody else may write: only then
// may the data live beside the program, where another account could
// otherwise read the recent files or plant a settings file.
bool IsOwnUnsharedFolder(const std::string& folder) {
  struct stat info {};
  return stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid() &&
         (info.st_mode & (S_IWGRP | S_IWOTH)) == 0 && access(folder.c_str(), W_OK) == 0;
}

// Creates folder 0700, or takes group and other access away from a folder of
// ours made by an older version. False when the name holds anything else
// (someone else's folder, a file).
bool MakeDataFolder(const std::string& folder) {
  mkdir(folder.c_str(), 0700);
  struct stat info {};
  if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid()) return false;
  return (info.st_mode & 077) == 0 || chmod(folder.c_str(), info.st_mode & 0700) == 0;
}

}  // namespace

std::string ExecutablePath(const std::string& executableLink) {
  char path[PATH_MAX];
  const ssize_t n = readlink(executableLink.c_str(), path, sizeof path - 1);
  if (n <= 0) return {};
  return std::string(path, static_cast<std::size_t>(n));
}

std::string ProgramFolder(const std::string& executableLink) {
  std::string folder = ExecutablePath(executableLink);
  const std::size_t slash = folder.rfind('/');
  if (slash == std::string::npos) return {};
  folder.erase(slash + 1);
  return folder;
}

std::string DataFolder(const std::string& programFolder) {
  if (!programFolder.empty() && IsOwnUnsharedFolder(programFolder)) {
    const std::string folder = WithTrailingSlash(programFolder) + "dat/";
    if (MakeDataFolder(folder)) return folder;
  }
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  // Relative values are invalid by the base-directory rules and ignored.
  std::string base = dataHome && dataHome[0] == '/' ? dataHome : HomeFolder() + "/.local/share";
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  const std::string folder = base + "/kinovue";
  MakeFolders(base, 0700);
  MakeDataFolder(folder);
  return folder + '/';
}

std::string SettingsFilePath(const std::string& programFolder) {
  return DataFolder(WithTrailingSlash(programFolder)) + "kinovue.ini";
}

}  // namespace platform
