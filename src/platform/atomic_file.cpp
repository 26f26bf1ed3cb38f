#include "platform/atomic_file.h"

#include <cerrno>
#include <atomic>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace platform {

namespace {

// How often a fresh temporary name is tried when the last one was taken.
constexpr int kNameTries = 100;

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Unique within the process; O_EXCL settles a clash with another one.
std::string TemporarySuffix() {
  static std::atomic<unsigned> counter{0};
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return std::to_string(getpid()) + "-" + std::to_string(counter++) + "-" + std::to_string(now.tv_nsec);
}

// Writes everything, retrying short writes; false with errno set.
bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

int CloseChecked(int fd) {
  // After a failed close the descriptor is gone all the same (Linux); the
  // data may not be, so the failure counts.
  return close(fd) == 0 || errno == EINTR ? 0 : errno;
}

// A new, empty file beside path; -1 with errno when none can be made.
int CreateTemporary(const std::string& path, std::string& tempPath) {
  const std::string folder = FolderOf(path);
  const std::string base = path.substr(path.rfind('/') + 1);
  for (int i = 0; i < kNameTries; ++i) {
    tempPath = folder + "/." + base + ".tmp-" + TemporarySuffix();
    const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

int WriteInPlace(const std::string& path, std::string_view bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) return errno;
  if (!WriteAll(fd, bytes) || fsync(fd) != 0) {
    const int error = errno;
    close(fd);
    return error;
  }
  return CloseChecked(fd);
}

void SyncFolder(const std::string& folder) {
  // The rename is on disk once the folder is: best effort, some file
  // systems cannot sync a folder.
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

int WriteFileAtomically(const std::string& path, std::string_view bytes, const AtomicWriteOptions& options) {
  if (path.empty() || path.back() == '/') return EINVAL;
  if (options.createFolder) {
    std::error_code made;
    std::filesystem::create_directories(FolderOf(path), made);
    if (made) return made.value();
  }
  std::string tempPath;
  const int fd = CreateTemporary(path, tempPath);
  if (fd < 0) {
    const int error = errno;
    if (options.inPlaceFallback && (error == EACCES || error == EPERM) && access(path.c_str(), W_OK) == 0)
      return WriteInPlace(path, bytes);
    return error;
  }
  int error = 0;
  if (!WriteAll(fd, bytes)) error = errno;
  // The old file's permissions, not those of a link's target.
  struct stat old {};
  if (!error && lstat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode) && fchmod(fd, old.st_mode & 07777) != 0)
    error = errno;
  if (!error && fsync(fd) != 0) error = errno;
  const int closeError = CloseChecked(fd);
  if (!error) error = closeError;
  if (!error && rename(tempPath.c_str(), path.c_str()) != 0) error = errno;
  if (error) {
    unlink(tempPath.c_str());
    return error;
  }
  SyncFolder(FolderOf(path));
  return 0;
}

int AppendToFile(const std::string& path, std::string_view bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666);
  if (fd < 0) return errno;
  struct stat info {};
  int error = 0;
  if (fstat(fd, &info) != 0) {
    error = errno;
  } else if (!S_ISREG(info.st_mode)) {
    error = EINVAL;
  }
  if (error) {
    close(fd);
    return error;
  }
  if (!WriteAll(fd, bytes) || fdatasync(fd) != 0) {
    error = errno;
    // What did get written is half a record: take it back.
    if (ftruncate(fd, info.st_size) == 0) fdatasync(fd);
  }
  const int closeError = CloseChecked(fd);
  return error ? error : closeError;
}

std::string WriteErrorText(int error) {
  switch (error) {
    case 0: return {};
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return "磁盘空间不足";
    case EROFS: return "磁盘只读";
    case EACCES:
    case EPERM: return "没有写入权限";
    case EIO: return "磁盘读写错误";
    case EINVAL: return "原文件无法读取";
    default: {
      const char* text = strerrordesc_np(error);
      return std::string("写入失败: ") + (text ? text : std::to_string(error));
    }
  }
}

}  // namespace platform
