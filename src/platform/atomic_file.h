#pragma once
#include <string>
#include <string_view>

// Writing the files a user keeps (settings, playlists, the association's
// files, the update files and their log) so that a failed write never costs
// what was there before.
namespace platform {

struct AtomicWriteOptions {
  // Creates the file's folder (and its parents) when it is missing.
  bool createFolder = false;
  // When no file can be created beside the target (a folder we may not write
  // to), the target itself is rewritten in place. Only for files the user
  // chose to overwrite (exports): a failure there can cut the old file short.
  bool inPlaceFallback = false;
};

// Replaces the file at path with bytes: they go to a new file in the same
// folder, every write, fsync and close is checked, and only then is the new
// file renamed over the name. On any failure (disk full, quota, I/O error,
// read-only) the new file is removed and the old one is left whole. A
// symbolic link at path is replaced by the file, never written through. The
// file keeps the permissions of the regular file it replaces; a new one gets
// 0666 less the umask. Returns 0, or the errno of the step that failed.
int WriteFileAtomically(const std::string& path, std::string_view bytes, const AtomicWriteOptions& options = {});

// Adds bytes to the end of the regular file at path (created when missing,
// never through a symbolic link). When a write or the sync fails the file is
// cut back to its old length, so it never ends in half a record. Returns 0,
// or the errno of the step that failed.
int AppendToFile(const std::string& path, std::string_view bytes);

// A short text for a write's errno, in the program's language.
std::string WriteErrorText(int error);

}  // namespace platform
