#pragma once
#include <string>

namespace platform {

// Full path of the running executable, read from the link the kernel keeps
// for it; empty when that link cannot be read (no /proc).
std::string ExecutablePath(const std::string& executableLink = "/proc/self/exe");

// Folder of the running executable, ending in '/'. Empty when its path cannot
// be read: the program must not guess a folder for its settings then.
std::string ProgramFolder(const std::string& executableLink = "/proc/self/exe");

// The folder for settings, playlist and update files, ending in '/', created
// when missing: "dat/" in the program folder when that folder is the user's
// own and nobody else may write it (a copy unpacked or built by the user);
// otherwise "$XDG_DATA_HOME/kinovue/" (or "~/.local/share/kinovue/"). Data
// folders are made 0700 (an existing one of ours loses group and other
// access). Creation failures are ignored: the files then cannot be written
// and defaults stay in place.
std::string DataFolder(const std::string& programFolder);

// The settings file "kinovue.ini" in the data folder of that program folder
// (which may lack its final '/'); the folder is created as DataFolder does.
std::string SettingsFilePath(const std::string& programFolder);

// True when the text is a local absolute path (begins with '/').
inline bool IsLocalPath(const std::string& text) { return !text.empty() && text[0] == '/'; }

}  // namespace platform
