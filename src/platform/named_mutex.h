#pragma once
#include <string>

// A named lock that at most one process of the user holds: the program's
// "one instance at a time" guard. It is an exclusive advisory lock on a file
// with the given name in the private runtime folder. The kernel drops it when
// the holder's process ends in any way (exit, crash, kill), so a dead
// instance never blocks the next start. The descriptor is close-on-exec:
// children (MPlayer) do not inherit it and cannot keep it alive.
namespace platform {

class NamedMutex {
 public:
  // Tries once to take the lock, never waits. folder empty: the private
  // runtime folder. The name must be a plain file name (no '/', not "." or
  // ".."); the lock file is created with mode 0600 and left in place when the
  // lock is released, so no other process ever sees it vanish.
  explicit NamedMutex(const std::string& name, const std::string& folder = {});
  // Releases the lock (if held). Holders meant to keep it for the life of
  // the process simply never destroy the object before exit.
  ~NamedMutex();
  NamedMutex(const NamedMutex&) = delete;
  NamedMutex& operator=(const NamedMutex&) = delete;

  // This object holds the lock.
  bool Acquired() const { return fd_ >= 0; }
  // Another holder has it (another process, or another object here).
  bool AlreadyRunning() const { return alreadyRunning_; }
  // Neither: the lock could not be tried at all (no usable private folder,
  // a bad name, the file cannot be opened). ErrorText() says why.
  bool Failed() const { return !Acquired() && !alreadyRunning_; }
  const std::string& ErrorText() const { return error_; }
  // The lock file's path; empty when no folder could be used.
  const std::string& Path() const { return path_; }

 private:
  int fd_ = -1;
  bool alreadyRunning_ = false;
  std::string path_;
  std::string error_;
};

}  // namespace platform
