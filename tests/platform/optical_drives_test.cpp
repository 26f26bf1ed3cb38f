#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/optical_drives.h"
#include "temp_dir.h"

namespace {

using Strings = std::vector<std::string>;

TEST(OpticalDrives, DriveNamesComeInDeviceOrder) {
  EXPECT_EQ(platform::ParseCdromDriveNames("CD-ROM information, Id: cdrom.c 3.20 2003/12/17\n\n"
                                           "drive name:\t\tsr10\tsr1\tsr2\ndrive speed:\t\t24\t24\t24\n"),
            (Strings{"sr1", "sr2", "sr10"}));
  EXPECT_TRUE(platform::ParseCdromDriveNames("CD-ROM information\n\ndrive name:\t\t\n").empty());
}

TEST(OpticalDrives, MountTablesDecodeEscapesAndSkipComments) {
  const auto entries = platform::ParseMountTable(
      "# /etc/fstab\n\nUUID=1234 / ext4 defaults 0 1\n/dev/sr0\t/media/u/MY\\040DISC\\134x iso9660 ro 0 0\n"
      "lonely\n   # indented\n/dev/sr1 /mnt/end\\04 udf ro 0 0");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[1].device, "/dev/sr0");
  EXPECT_EQ(entries[1].mountPoint, "/media/u/MY DISC\\x");
  EXPECT_EQ(entries[2].mountPoint, "/mnt/end\\04");  // a cut-off escape stays
}

TEST(OpticalDrives, MountedBeforeFstabBeforeDevicePath) {
  const std::map<std::string, std::string> devices{{"/dev/cdrom", "sr0"}, {"/dev/sr1", "sr1"}, {"UUID=ab", "sr1"}};
  const platform::DeviceNameOf nameOf = [&](const std::string& device) {
    const auto it = devices.find(device);
    return it == devices.end() ? std::string() : it->second;
  };
  const auto mounts = platform::ParseMountTable("proc /proc proc rw 0 0\n/dev/sr1 /media/u/DVD iso9660 ro 0 0\n"
                                                "/dev/sr1 /media/u/again iso9660 ro 0 0\n");
  const auto fstab = platform::ParseMountTable("/dev/cdrom none swap sw 0 0\n/dev/cdrom /media/cdrom0 udf user 0 0\n"
                                               "UUID=ab /media/dvd udf user 0 0\n");
  EXPECT_EQ(platform::OpticalDriveStrings({"sr0", "sr1", "sr2"}, mounts, fstab, nameOf),
            (Strings{"/media/cdrom0", "/media/u/DVD", "/dev/sr2"}));
}

TEST(OpticalDrives, SystemReaderUsesTheFilesItIsGiven) {
  testsupport::TempDir dir;
  ASSERT_TRUE(testsupport::WriteFileBytes(dir.File("info"), "drive name:\t\tsr9\tsr8\n"));
  ASSERT_TRUE(testsupport::WriteFileBytes(dir.File("mounts"), "/dev/sr9 /run/media/u/Film iso9660 ro 0 0\n"));
  EXPECT_EQ(platform::SystemOpticalDrives(dir.File("info"), dir.File("mounts"), dir.File("none")).List(),
            (Strings{"/dev/sr8", "/run/media/u/Film"}));
  EXPECT_TRUE(platform::SystemOpticalDrives(dir.File("none"), dir.File("mounts"), dir.File("none")).List().empty());
}

}  // namespace
