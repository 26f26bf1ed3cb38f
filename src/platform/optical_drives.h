#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The machine's optical (CD/DVD) drives as drive strings: the folder where
// the drive's disc is (or would be) mounted, so that a disc scan can list
// it. Read once while the main window is set up.
namespace platform {

class OpticalDrives {
 public:
  virtual ~OpticalDrives() = default;
  // One drive string per optical drive, in device order (sr0, sr1, ...):
  // its current mount point; else its mount point in /etc/fstab; else its
  // device path ("/dev/sr0"), so that the drive still shows up while it
  // holds no mounted disc (scanning that string finds nothing, like a drive
  // that is not ready). Empty without optical drives.
  virtual std::vector<std::string> List() const = 0;
};

// The machine's drives: the kernel's CD-ROM table and the mount tables.
std::shared_ptr<const OpticalDrives> MakeOpticalDrives();

// Reads the kernel's CD-ROM table and the mount tables. The paths are
// parameters so that tests can point them at files of their own.
class SystemOpticalDrives final : public OpticalDrives {
 public:
  explicit SystemOpticalDrives(std::string cdromInfoPath = "/proc/sys/dev/cdrom/info",
                               std::string mountsPath = "/proc/self/mounts", std::string fstabPath = "/etc/fstab");
  std::vector<std::string> List() const override;

 private:
  std::string cdromInfoPath_;
  std::string mountsPath_;
  std::string fstabPath_;
};

// The parsing, on file contents, so that it is tested on sample texts.

// Kernel names ("sr0") from the "drive name:" row of /proc/sys/dev/cdrom/info,
// in device order. The kernel writes that row newest drive first, so the
// names are sorted: by their letters, then by their number (sr2 < sr10).
std::vector<std::string> ParseCdromDriveNames(std::string_view info);

struct MountEntry {
  std::string device;      // first field: "/dev/sr0", "UUID=...", "proc", ...
  std::string mountPoint;  // second field, octal escapes ("\040") decoded
};

// The entries of a mount table in the format of /proc/self/mounts and
// /etc/fstab, in order; blank lines, comments and lines of fewer than two
// fields are skipped.
std::vector<MountEntry> ParseMountTable(std::string_view text);

// Maps a mount table's device field to a kernel name ("sr0"), or "" when it
// is not a block device known here.
using DeviceNameOf = std::function<std::string(const std::string& device)>;

// The drive strings of the drives named, by the rule of OpticalDrives::List.
// Only absolute mount points count; the first matching entry of a table wins.
std::vector<std::string> OpticalDriveStrings(const std::vector<std::string>& driveNames,
                                             const std::vector<MountEntry>& mounts,
                                             const std::vector<MountEntry>& fstab, const DeviceNameOf& deviceNameOf);

// The system's mapping: "/dev/cdrom" and other links are resolved, "UUID=x"
// and "LABEL=x" are looked up under /dev/disk; a /dev path that does not
// exist keeps its own name.
std::string SystemDeviceNameOf(const std::string& device);

}  // namespace platform
