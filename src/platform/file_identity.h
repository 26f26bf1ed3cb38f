#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// What tells one version of a file from another at the same path: its size
// and its last modification (nanoseconds since the epoch).
struct FileIdentity {
  std::int64_t size = 0;
  std::int64_t modifiedNs = 0;
  bool operator==(const FileIdentity&) const = default;
};

// The identity of a regular file (links followed); nothing for anything
// else (a folder, a device, a pipe) or a path that cannot be read.
std::optional<FileIdentity> IdentifyRegularFile(const std::string& path);

}  // namespace platform
