#include "platform/registry.h"

#include <algorithm>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

#include "platform/atomic_file.h"
#include "platform/bounded_file.h"

namespace platform {

namespace {

RegistryKey* FindIn(RegistryKey& root, std::string_view path) {
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

template <typename Key>
auto FindValue(Key& key, std::string_view name) -> decltype(&key.values[0]) {
  for (auto& value : key.values)
    if (SameRegistryName(value.name, name)) return &value;
  return nullptr;
}

// What tells one file at the path from another: a replaced file has a new
// inode, a rewritten one a new size or time. Nothing there is a stamp too.
struct FileStamp {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  std::int64_t modifiedNs = 0;
  bool operator==(const FileStamp&) const = default;
};

// File times advance in clock ticks of a few milliseconds: a file changed
// within this much of being read may change again under the same stamp, so
// what was read from it is not kept.
constexpr std::int64_t kStampGrainNs = 50'000'000;

std::int64_t NowNs() {
  timespec now {};
  clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

FileStamp StampOf(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return {};
  return {true, info.st_dev, info.st_ino, info.st_size,
          static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

// "\a\b" for the key a\b: the index form of a path, "" for the root.
using KeyIndex = std::unordered_map<std::string, const RegistryKey*>;

void IndexKeys(const RegistryKey& key, const std::string& path, KeyIndex& index) {
  index.emplace(path, &key);
  for (const RegistryKey& child : key.subkeys) IndexKeys(child, path + '\\' + FoldRegistryName(child.name), index);
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

struct Registry::Snapshot {
  FileStamp stamp;
  bool settled = false;  // the stamp alone tells a later change
  Contents contents = kIntact;
  std::string bytes;  // as read, for the comparison and a damaged file's copy
  RegistryKey root;
  KeyIndex keys;

  // stampedNs: when the stamp was taken, before the bytes were read.
  Snapshot(const FileStamp& fileStamp, std::int64_t stampedNs, Contents fileContents, std::string fileBytes,
           RegistryKey tree)
      : stamp(fileStamp),
        settled(fileStamp.modifiedNs + kStampGrainNs < stampedNs),
        contents(fileContents),
        bytes(std::move(fileBytes)),
        root(std::move(tree)) {
    IndexKeys(root, "", keys);
  }
};

Registry::Registry(std::string filePath) : path_(std::move(filePath)) {}
Registry::~Registry() = default;

std::string RegistryText(std::string_view data) { return std::string(data.substr(0, data.find('\0'))); }

std::string Registry::ClassesPath(const std::string& configHome) { return configHome + "/kinovue/classes.reg"; }

std::shared_ptr<const Registry::Snapshot> Registry::Current() const {
  // Looked at before it is read: a file replaced in between is read again
  // at the next call, never kept under the older stamp.
  const std::int64_t stampedNs = NowNs();
  const FileStamp stamp = StampOf(path_);
  {
    const std::lock_guard<std::mutex> hold(mutex_);
    if (snapshot_ && snapshot_->settled && snapshot_->stamp == stamp) return snapshot_;
  }
  std::string text;
  const FileRead read = ReadRegularFile(path_, kRegistryMaxFileBytes, text);
  RegistryKey root;
  Contents contents = kUnreadable;
  if (read == FileRead::kRead || read == FileRead::kMissing) contents = ParseRegistryText(text, root) ? kIntact : kDamaged;
  auto snapshot = std::make_shared<const Snapshot>(stamp, stampedNs, contents, std::move(text), std::move(root));
  const std::lock_guard<std::mutex> hold(mutex_);
  snapshot_ = snapshot;
  return snapshot;
}

const RegistryKey* Registry::Find(const Snapshot& snapshot, std::string_view path) {
  std::vector<std::string> names;
  if (!SplitKeyPath(path, names)) return nullptr;
  std::string folded;
  for (const std::string& name : names) folded += '\\' + FoldRegistryName(name);
  const auto at = snapshot.keys.find(folded);
  return at == snapshot.keys.end() ? nullptr : at->second;
}

Registry::Status Registry::Change(const std::function<Status(RegistryKey& root)>& change) {
  if (path_.empty()) return kFailed;
  std::error_code made;
  std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), made);
  if (made) return kFailed;
  const FileLock lock(path_);
  if (!lock.Held()) return kFailed;
  const std::shared_ptr<const Snapshot> before = Current();
  // What is there but cannot be read (a FIFO, a device, a huge file) is not
  // replaced: nothing of it may be lost.
  if (before->contents == kUnreadable) return kFailed;
  RegistryKey root = before->root;
  const Status status = change(root);
  if (status != kOk) return status;
  std::string after = FormatRegistryText(root);
  if (before->contents == kIntact && after == before->bytes) return kOk;
  if (before->contents == kDamaged && WriteFileAtomically(path_ + ".bad", before->bytes) != 0) return kFailed;
  if (WriteFileAtomically(path_, after) != 0) return kFailed;
  // Still under the lock: nobody else can have replaced it since.
  const std::int64_t stampedNs = NowNs();
  auto written =
      std::make_shared<const Snapshot>(StampOf(path_), stampedNs, kIntact, std::move(after), std::move(root));
  const std::lock_guard<std::mutex> hold(mutex_);
  snapshot_ = std::move(written);
  return kOk;
}

bool Registry::CreateKey(std::string_view key, bool* created) {
  std::vector<std::string> names;
  if (!SplitKeyPath(key, names) || names.empty()) return false;
  bool made = false;
  const Status status = Change([&](RegistryKey& root) {
    RegistryKey* at = &root;
    for (const std::string& name : names) {
      RegistryKey* next = FindIn(*at, name);
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

bool Registry::KeyExists(std::string_view key) const { return Find(*Current(), key) != nullptr; }

Registry::Status Registry::QueryValue(std::string_view key, std::string_view name, std::string& data,
                                      std::size_t bufferSize) const {
  data.clear();
  const auto snapshot = Current();
  const RegistryKey* at = Find(*snapshot, key);
  const RegistryValue* value = at ? FindValue(*at, name) : nullptr;
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
           RegistryKey* at = FindIn(root, key);
           if (!at) return kNotFound;
           Store(*at, name, data);
           return kOk;
         }) == kOk;
}

bool Registry::SetStrings(std::string_view key, const std::vector<std::pair<std::string, std::string>>& values) {
  return Change([&](RegistryKey& root) {
           RegistryKey* at = FindIn(root, key);
           if (!at) return kNotFound;
           for (const auto& [name, text] : values) Store(*at, name, text + '\0');
           return kOk;
         }) == kOk;
}

bool Registry::DeleteValues(std::string_view key, const std::vector<std::string>& names) {
  return Change([&](RegistryKey& root) {
           RegistryKey* at = FindIn(root, key);
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
    RegistryKey* at = FindIn(root, key);
    RegistryValue* value = at ? FindValue(*at, name) : nullptr;
    if (!value) return kNotFound;
    at->values.erase(at->values.begin() + (value - at->values.data()));
    return kOk;
  });
}

Registry::Status Registry::EnumKey(std::string_view key, std::size_t index, std::string& name,
                                   std::size_t nameBufferSize) const {
  name.clear();
  const auto snapshot = Current();
  const RegistryKey* at = Find(*snapshot, key);
  if (!at || index >= at->subkeys.size()) return kNotFound;
  if (at->subkeys[index].name.size() + 1 > nameBufferSize) return kMoreData;
  name = at->subkeys[index].name;
  return kOk;
}

Registry::Status Registry::EnumValue(std::string_view key, std::size_t index, std::string& name) const {
  name.clear();
  const auto snapshot = Current();
  const RegistryKey* at = Find(*snapshot, key);
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
    RegistryKey* parent = FindIn(root, parentPath);
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
