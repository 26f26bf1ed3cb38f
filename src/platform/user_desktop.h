#pragma once
#include <string>
#include <vector>

#include "platform/mime_apps_list.h"

// The user's own part of the freedesktop desktop: application entries in
// "$XDG_DATA_HOME/applications", icons in the user's hicolor theme and the
// default applications in "$XDG_CONFIG_HOME/mimeapps.list". Only files and
// lines that the caller names are touched; every file is replaced
// atomically.
namespace platform {

// $XDG_CONFIG_HOME / $XDG_DATA_HOME when set to an absolute path, otherwise
// ~/.config / ~/.local/share, as the base-directory rules say.
std::string UserConfigHome();
std::string UserDataHome();

class UserDesktop {
 public:
  // updateTool: the program that rebuilds the folder's MIME cache, looked
  // up in PATH unless it is a path.
  UserDesktop(std::string configHome, std::string dataHome, std::string updateTool = "update-desktop-database");

  std::string ApplicationsFolder() const { return dataHome_ + "/applications"; }
  std::string MimeAppsPath() const { return configHome_ + "/mimeapps.list"; }
  std::string IconPath(const std::string& name, int size) const;

  bool WriteEntry(const std::string& fileName, const std::string& text);
  // True when the entry is gone afterwards.
  bool RemoveEntry(const std::string& fileName);
  bool WriteIcon(const std::string& name, int size, const std::string& png);
  void RemoveIcon(const std::string& name, int size);

  // The current default for mime; nullopt when mimeapps.list names none.
  std::optional<std::string> DefaultApplication(const std::string& mime) const;
  // Re-reads mimeapps.list, applies the changes and writes it back when it
  // changed. False when it could not be written.
  bool ChangeDefaults(const std::vector<DefaultApplicationChange>& changes);

  enum class DatabaseUpdate { kUpdated, kToolMissing, kFailed };
  // Runs the update tool on the applications folder (bounded wait). Without
  // the tool nothing runs: defaults in mimeapps.list work without the cache.
  DatabaseUpdate UpdateDatabase() const;

 private:
  std::string configHome_;
  std::string dataHome_;
  std::string updateTool_;
};

}  // namespace platform
