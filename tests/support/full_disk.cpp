#include "full_disk.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string_view>

namespace testsupport {

namespace {

// Room for the files a test puts there before the disk is made full.
constexpr const char* kTmpfsOptions = "size=1m,nr_inodes=256,mode=0755";

// Writes until the file system refuses: then not one more byte fits.
void FillUp(const std::string& path) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return;
  const std::string block(4096, 'f');
  for (std::string_view rest = block;;) {
    const ssize_t n = write(fd, rest.data(), rest.size());
    if (n > 0) continue;
    if (n < 0 && errno == EINTR) continue;
    // Full: the last page may still take a few bytes.
    if (rest.size() == 1) break;
    rest = rest.substr(0, rest.size() / 2);
  }
  close(fd);
}

}  // namespace

FullDisk::FullDisk() : path_(dir_.File("disk")) {
  mkdir(path_.c_str(), 0755);
  mounted_ = mount("kinovue-full-disk", path_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, kTmpfsOptions) == 0;
}

FullDisk::~FullDisk() {
  if (mounted_) umount2(path_.c_str(), MNT_DETACH);
}

void FullDisk::WhileFull(const std::function<void()>& work, long room) {
  if (mounted_) {
    const std::string filler = File(".filler");
    FillUp(filler);
    struct stat filled {};
    if (room > 0 && stat(filler.c_str(), &filled) == 0) truncate(filler.c_str(), std::max(0L, filled.st_size - room));
    work();
    unlink(filler.c_str());
    return;
  }
  // A write past the limit raises SIGXFSZ, which ends the process unless ignored.
  struct sigaction ignore {}, old {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &old);
  rlimit before{};
  getrlimit(RLIMIT_FSIZE, &before);
  rlimit none = before;
  none.rlim_cur = static_cast<rlim_t>(room);
  setrlimit(RLIMIT_FSIZE, &none);
  work();
  setrlimit(RLIMIT_FSIZE, &before);
  sigaction(SIGXFSZ, &old, nullptr);
}

}  // namespace testsupport
