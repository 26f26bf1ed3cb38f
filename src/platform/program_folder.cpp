#include "platform/program_folder.h"

#include <climits>
#include <unistd.h>

namespace platform {

std::string ExecutablePath() {
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return {};
  return std::string(path, static_cast<std::size_t>(n));
}

std::string ProgramFolder() {
  std::string folder = ExecutablePath();
  if (folder.empty()) return "./";
  folder.erase(folder.rfind('/') + 1);
  return folder;
}

}  // namespace platform
