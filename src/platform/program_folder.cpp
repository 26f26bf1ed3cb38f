#include "platform/program_folder.h"

#include <climits>
#include <unistd.h>

namespace platform {

std::string ProgramFolder() {
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return "./";
  std::string folder(path, static_cast<std::size_t>(n));
  folder.erase(folder.rfind('/') + 1);
  return folder;
}

}  // namespace platform
