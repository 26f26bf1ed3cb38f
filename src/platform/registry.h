#pragma once
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/registry_file.h"

// The per-user store of file types that stands in for the classic
// HKEY_CLASSES_ROOT: keys, a default value and named values per key, each
// value a byte string with its size, kept in one file
// ($XDG_CONFIG_HOME/kinovue/classes.reg; see registry_file.h for its form).
//
// The semantics are those the association rules rely on:
// - Key paths are names separated by '\'; names match without regard to
//   ASCII case. CreateKey creates the missing keys of a path and says
//   whether the last one was new; every other call needs the key to exist.
// - A string value is stored with its terminating zero byte, so an empty
//   text has size 1 and is not the same as a value of size zero, nor as no
//   value at all.
// - QueryValue reads into a buffer of the given size: data longer than the
//   buffer is kMoreData and nothing is returned.
// - DeleteKey refuses a key that still has subkeys; DeleteTree removes the
//   subkeys first, one at a time.
//
// Every call looks at the file, but reads it again only when it was replaced
// or changed since (device, inode, size, modification time): a batch of
// calls reads a large file once, and finds keys through an index instead of
// a search. Every change looks again under an exclusive lock (a ".lock" file
// beside it), applies itself
// and replaces the file atomically (temporary file, flushed, renamed), so
// two processes never lose each other's changes and a crash never leaves a
// half-written file (platform::WriteFileAtomically: a full disk or an I/O
// error leaves the old file whole and the change fails). A change that
// changes nothing writes nothing. A damaged file reads as empty; the first
// change then keeps it as ".bad" beside the new file instead of losing it.
// Only a regular file of at most kRegistryMaxFileBytes is read: anything else
// at the path (a FIFO, a device, a bigger file) reads as empty and is never
// replaced.
namespace platform {

class Registry {
 public:
  enum Status { kOk, kNotFound, kMoreData, kFailed };

  explicit Registry(std::string filePath);
  ~Registry();
  Registry(const Registry&) = delete;
  Registry& operator=(const Registry&) = delete;

  // "$XDG_CONFIG_HOME/kinovue/classes.reg" under the given config folder.
  static std::string ClassesPath(const std::string& configHome);

  const std::string& Path() const { return path_; }

  bool CreateKey(std::string_view key, bool* created = nullptr);
  bool KeyExists(std::string_view key) const;
  // name "" is the default value.
  Status QueryValue(std::string_view key, std::string_view name, std::string& data, std::size_t bufferSize) const;
  bool SetValue(std::string_view key, std::string_view name, std::string_view data);
  // A string value: text and its terminating zero byte.
  bool SetString(std::string_view key, std::string_view name, std::string_view text);
  // Several string values of one key in one change of the file.
  bool SetStrings(std::string_view key, const std::vector<std::pair<std::string, std::string>>& values);
  // kNotFound when the key or the value is missing.
  Status DeleteValue(std::string_view key, std::string_view name);
  // Deletes those of the named values that exist, in one change.
  bool DeleteValues(std::string_view key, const std::vector<std::string>& names);
  // The name of subkey number index, in a buffer of nameBufferSize bytes
  // (name and zero byte). kNotFound past the last one.
  Status EnumKey(std::string_view key, std::size_t index, std::string& name, std::size_t nameBufferSize) const;
  // The name of value number index ("" for the default value).
  Status EnumValue(std::string_view key, std::size_t index, std::string& name) const;
  Status DeleteKey(std::string_view key);
  bool DeleteTree(std::string_view key);

 private:
  enum Contents { kIntact, kDamaged, kUnreadable };
  struct Snapshot;
  // The tree as the file holds it now (empty unless intact; a missing file
  // is an intact empty one), read again only when the file is not the one
  // read last.
  std::shared_ptr<const Snapshot> Current() const;
  // The key at path in the snapshot, found through its index.
  static const RegistryKey* Find(const Snapshot& snapshot, std::string_view path);
  // Runs change on a fresh copy of the tree under the lock and writes the
  // result when change succeeded and the tree differs.
  Status Change(const std::function<Status(RegistryKey& root)>& change);

  std::string path_;
  mutable std::mutex mutex_;
  mutable std::shared_ptr<const Snapshot> snapshot_;
};

// The text before the first zero byte of a value's data.
std::string RegistryText(std::string_view data);

}  // namespace platform
