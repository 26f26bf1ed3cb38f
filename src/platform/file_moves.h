#pragma once
#include <string>

// The steps of switching files in place that must reach the disk in order:
// each returns 0, or the errno of the call that failed.
namespace platform {

// Flushes the file or folder at path to the disk (fsync). A folder is synced
// so that the names made, renamed or removed in it survive a power cut.
int SyncPath(const std::string& path);

// Gives the existing file a second name (a hard link), never following a
// symbolic link at existing.
int LinkFile(const std::string& existing, const std::string& name);

// Renames from to to in one step, replacing a file already at to.
int RenameOver(const std::string& from, const std::string& to);

}  // namespace platform
