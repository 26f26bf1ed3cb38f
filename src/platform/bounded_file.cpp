#include "platform/bounded_file.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

FileRead Refusal(const struct stat& info, std::size_t maxBytes) {
  if (!S_ISREG(info.st_mode)) return FileRead::kNotRegular;
  if (static_cast<unsigned long long>(info.st_size) > maxBytes) return FileRead::kTooLarge;
  return FileRead::kRead;
}

}  // namespace

FileRead ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes) {
  bytes.clear();
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return errno == ENOENT || errno == ENOTDIR ? FileRead::kMissing : FileRead::kFailed;
  if (const FileRead refused = Refusal(info, maxBytes); refused != FileRead::kRead) return refused;
  // Something else may have been put there since: O_NONBLOCK keeps a FIFO's
  // open from waiting for a writer, and the second look keeps it unread.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? FileRead::kMissing : FileRead::kFailed;
  FileRead result = fstat(fd, &info) == 0 ? Refusal(info, maxBytes) : FileRead::kFailed;
  if (result == FileRead::kRead) {
    // One byte more than allowed shows a file that grew past the cap.
    bytes.resize(static_cast<std::size_t>(info.st_size) + 1);
    std::size_t got = 0;
    for (;;) {
      if (got == bytes.size()) {
        if (bytes.size() > maxBytes) break;
        bytes.resize(std::min(bytes.size() * 2, maxBytes + 1));
      }
      const ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        result = FileRead::kFailed;
        break;
      }
      if (n == 0) break;
      got += static_cast<std::size_t>(n);
    }
    if (result == FileRead::kRead && got > maxBytes) result = FileRead::kTooLarge;
    bytes.resize(result == FileRead::kRead ? got : 0);
  }
  close(fd);
  return result;
}

}  // namespace platform
