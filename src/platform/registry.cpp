#include "platform/registry.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <sys/file.h>
#include <unistd.h>

#include "platform/atomic_file.h"
#include "platform/bounded_file.h"

namespace platform {

namespace {

RegistryKey* Find(RegistryKey& root, std::string_view path) {
  std::vector<std::string> names;
  if (!SplitKeyPath(path, names)) return nullptr;
  RegistryKey* key = &root;
  for (const std::string& name : names) {
    RegistryKey* next = nullptr;
    for (RegistryKey& child : key->subkeys) {
      if (SameRegistryName(child.name, name)) {
        next = &child;
        break;
      }
    }
    if (!next) return nullptr;
    key = next;
  }
  return key;
}

RegistryValue* FindValue(RegistryKey& key, std::string_view name) {
  for (RegistryValue& value : key.values)
    if (SameRegistryName(value.name, name)) return &value;
  return nullptr;
}

// The parent path and the last name of a path ("a\b\c" -> "a\b", "c").
std::pair<std::string_view, std::string_view> SplitLast(std::string_view path) {
  const std::size_t slash = path.rfind('\\');
  if (slash == std::string_view::npos) return {std::string_view(), path};
  return {path.substr(0, slash), path.substr(slash + 1)};
}

// An exclusive advisory lock on "<file>.lock", held while the object lives.
class FileLock {
 public:
  explicit FileLock(const std::string& path) {
    fd_ = ::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ >= 0 && ::flock(fd_, LOCK_EX) != 0) {
      ::close(fd_);
      fd_ = -1;
    }
  }
  ~FileLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace

std::string RegistryText(std::string_view data) { return std::string(data.substr(0, data.find('\0'))); }

std::string Registry::ClassesPath(const std::string& configHome) { return configHome + "/kinovue/classes.reg"; }

Registry::Contents Registry::Load(RegistryKey& root, std::string* bytes) const {
  std::string text;
  root = RegistryKey{};
  const FileRead read = ReadRegularFile(path_, kRegistryMaxFileBytes, text);
  if (bytes) *bytes = text;
  if (read != FileRead::kRead && read != FileRead::kMissing) return kUnreadable;
  return ParseRegistryText(text, root) ? kIntact : kDamaged;
}

Registry::Status Registry::Change(const std::function<Status(RegistryKey& root)>& change) {
  if (path_.empty()) return kFailed;
  std::error_code made;
  std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), made);
  if (made) return kFailed;
  const FileLock lock(path_);
  if (!lock.Held()) return kFailed;
  RegistryKey root;
  std::string before;
  const Contents contents = Load(root, &before);
  // What is there but cannot be read (a FIFO, a device, a huge file) is not
  // replaced: nothing of it may be lost.
  if (contents == kUnreadable) return kFailed;
  const Status status = change(root);
  if (status != kOk) return status;
  const std::string after = FormatRegistryText(root);
  if (contents == kIntact && after == before) return kOk;
  if (contents == kDamaged && WriteFileAtomically(path_ + ".bad", before) != 0) return kFailed;
  return WriteFileAtomically(path_, after) == 0 ? kOk : kFailed;
}

bool Registry::CreateKey(std::string_view key, bool* created) {
  std::vector<std::string> names;
  if (!SplitKeyPath(key, names) || names.empty()) return false;
  bool made = false;
  const Status status = Change([&](RegistryKey& root) {
    RegistryKey* at = &root;
    for (const std::string& name : names) {
      RegistryKey* next = Find(*at, name);
      if (!next) {
        at->subkeys.push_back({name, {}, {}});
        next = &at->subkeys.back();
        made = true;
      }
      at = next;
    }
    return kOk;
  });
  if (created) *created = status == kOk && made;
  return status == kOk;
}

bool Registry::KeyExists(std::string_view key) const {
  RegistryKey root;
  Load(root);
  return Find(root, key) != nullptr;
}

Registry::Status Registry::QueryValue(std::string_view key, std::string_view name, std::string& data,
                                      std::size_t bufferSize) const {
  data.clear();
  RegistryKey root;
  Load(root);
  RegistryKey* at = Find(root, key);
  RegistryValue* value = at ? FindValue(*at, name) : nullptr;
  if (!value) return kNotFound;
  if (value->data.size() > bufferSize) return kMoreData;
  data = value->data;
  return kOk;
}

namespace {

void Store(RegistryKey& key, std::string_view name, std::string_view data) {
  if (RegistryValue* value = FindValue(key, name)) {
    value->data.assign(data);
  } else {
    key.values.push_back({std::string(name), std::string(data)});
  }
}

}  // namespace

bool Registry::SetValue(std::string_view key, std::string_view name, std::string_view data) {
  return Change([&](RegistryKey& root) {
           RegistryKey* at = Find(root, key);
           if (!at) return kNotFound;
           Store(*at, name, data);
           return kOk;
         }) == kOk;
}

bool Registry::SetStrings(std::string_view key, const std::vector<std::pair<std::string, std::string>>& values) {
  return Change([&](RegistryKey& root) {
           RegistryKey* at = Find(root, key);
           if (!at) return kNotFound;
           for (const auto& [name, text] : values) Store(*at, name, text + '\0');
           return kOk;
         }) == kOk;
}

bool Registry::DeleteValues(std::string_view key, const std::vector<std::string>& names) {
  return Change([&](RegistryKey& root) {
           RegistryKey* at = Find(root, key);
           if (!at) return kNotFound;
           std::erase_if(at->values, [&](const RegistryValue& value) {
             return std::any_of(names.begin(), names.end(),
                                [&](const std::string& name) { return SameRegistryName(value.name, name); });
           });
           return kOk;
         }) == kOk;
}

bool Registry::SetString(std::string_view key, std::string_view name, std::string_view text) {
  std::string data(text);
  data += '\0';
  return SetValue(key, name, data);
}

Registry::Status Registry::DeleteValue(std::string_view key, std::string_view name) {
  return Change([&](RegistryKey& root) {
    RegistryKey* at = Find(root, key);
    RegistryValue* value = at ? FindValue(*at, name) : nullptr;
    if (!value) return kNotFound;
    at->values.erase(at->values.begin() + (value - at->values.data()));
    return kOk;
  });
}

Registry::Status Registry::EnumKey(std::string_view key, std::size_t index, std::string& name,
                                   std::size_t nameBufferSize) const {
  name.clear();
  RegistryKey root;
  Load(root);
  RegistryKey* at = Find(root, key);
  if (!at || index >= at->subkeys.size()) return kNotFound;
  if (at->subkeys[index].name.size() + 1 > nameBufferSize) return kMoreData;
  name = at->subkeys[index].name;
  return kOk;
}

Registry::Status Registry::EnumValue(std::string_view key, std::size_t index, std::string& name) const {
  name.clear();
  RegistryKey root;
  Load(root);
  RegistryKey* at = Find(root, key);
  if (!at || index >= at->values.size()) return kNotFound;
  name = at->values[index].name;
  return kOk;
}

Registry::Status Registry::DeleteKey(std::string_view key) {
  const auto split = SplitLast(key);
  const std::string_view parentPath = split.first;
  const std::string_view last = split.second;
  if (last.empty()) return kFailed;
  return Change([&](RegistryKey& root) {
    RegistryKey* parent = Find(root, parentPath);
    if (!parent) return kNotFound;
    for (auto it = parent->subkeys.begin(); it != parent->subkeys.end(); ++it) {
      if (!SameRegistryName(it->name, last)) continue;
      if (!it->subkeys.empty()) return kFailed;
      parent->subkeys.erase(it);
      return kOk;
    }
    return kNotFound;
  });
}

bool Registry::DeleteTree(std::string_view key) {
  if (!KeyExists(key)) return false;
  std::string child;
  for (;;) {
    const Status status = EnumKey(key, 0, child, 256);
    if (status == kNotFound) break;
    if (status != kOk || !DeleteTree(std::string(key) + '\\' + child)) return false;
  }
  return DeleteKey(key) == kOk;
}

}  // namespace platform
