#pragma once
#include <functional>
#include <string>

#include "temp_dir.h"

namespace testsupport {

// A folder whose disk can be made full for a while: what is written there
// meanwhile fails as it does on a full disk, while files already there stay
// readable. Where the test may mount (root, or a mount namespace of its own)
// the folder is a tiny tmpfs that is filled to its last byte, and writes fail
// with ENOSPC; elsewhere the process's file-size limit is set to 0 for the
// while, and writes fail with EFBIG at the same points (creating files,
// renaming and removing still work, as on a really full disk).
class FullDisk {
 public:
  FullDisk();
  ~FullDisk();
  FullDisk(const FullDisk&) = delete;
  FullDisk& operator=(const FullDisk&) = delete;

  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  // "tmpfs" or "file-size limit": what made the disk full, for messages.
  const char* Kind() const { return mounted_ ? "tmpfs" : "file-size limit"; }

  // Runs work with the disk full, then frees the disk again. With room, the
  // disk still takes about that many bytes (tmpfs: in whole pages; with the
  // file-size limit: no file may grow past it), so it fills up in the middle
  // of the work.
  void WhileFull(const std::function<void()>& work, long room = 0);

 private:
  TempDir dir_;
  std::string path_;
  bool mounted_ = false;
};

}  // namespace testsupport
