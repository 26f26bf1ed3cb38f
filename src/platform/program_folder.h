#pragma once
#include <string>

namespace platform {

// Folder of the running executable, ending in '/'. Falls back to the
// current folder ("./") when the executable's path cannot be read.
std::string ProgramFolder();

// Full path of the running executable; empty when it cannot be read.
std::string ExecutablePath();

// True when the text is a local absolute path (begins with '/').
inline bool IsLocalPath(const std::string& text) { return !text.empty() && text[0] == '/'; }

}  // namespace platform
