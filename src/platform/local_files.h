#pragma once
#include <string>

// The local files a user names on the command line.
namespace platform {

// Whether path names something to open as a file: it exists (links
// followed) and is no folder.
bool IsOpenableFile(const std::string& path);

// The process's working folder; empty when it cannot be read (it was
// removed).
std::string WorkingFolder();

}  // namespace platform
