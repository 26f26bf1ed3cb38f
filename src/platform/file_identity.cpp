#include "platform/file_identity.h"

#include <sys/stat.h>

namespace platform {

std::optional<FileIdentity> IdentifyRegularFile(const std::string& path) {
  struct stat info {};
  if (path.empty() || stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return FileIdentity{static_cast<std::int64_t>(info.st_size),
                      static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

}  // namespace platform
