#include <gtest/gtest.h>

#include <QDir>
#include <deque>
#include <filesystem>
#include <initializer_list>
#include <string>

#include "media/disc_scan.h"
#include "temp_dir.h"

namespace {

using Queue = std::deque<std::string>;

class DiscScanTest : public ::testing::Test {
 protected:
  // Builds the disc; a name ending in '/' is a folder.
  void Make(std::initializer_list<const char*> names) {
    for (const std::string name : names) {
      const std::filesystem::path path = disc_.File(name);
      std::filesystem::create_directories(name.back() == '/' ? path : path.parent_path());
      if (name.back() != '/') {
        ASSERT_TRUE(testsupport::WriteFileBytes(path, "x"));
      }
    }
  }
  // Files of the folder ending in extension (any case), in the file system's listing order.
  Queue Listed(const std::string& folder, const QString& extension) const {
    Queue files;
    for (const QString& name : QDir(QString::fromStdString(disc_.File(folder))).entryList(QDir::Files, QDir::Unsorted)) {
      if (name.endsWith(extension, Qt::CaseInsensitive)) files.push_back(disc_.File(folder + "/" + name.toStdString()));
    }
    return files;
  }
  testsupport::TempDir disc_;
};

TEST_F(DiscScanTest, DvdTakesEveryVobInAnyCaseInListingOrderAndNothingElse) {
  Make({"VIDEO_TS/VIDEO_TS.VOB", "VIDEO_TS/VTS_01_1.vob", "VIDEO_TS/vts_01_2.VoB", "VIDEO_TS/VTS_01_0.IFO",
        "VIDEO_TS/VTS_01_1.VOB.BUP", "VIDEO_TS/VOB", "VIDEO_TS/x.VOB/inner.VOB", "MPEGAV/AVSEQ01.DAT"});
  const Queue files = ScanDisc(disc_.Path());
  EXPECT_EQ(files.size(), 3u);
  EXPECT_EQ(files, Listed("VIDEO_TS", ".vob"));
  EXPECT_EQ(ScanDisc(disc_.Path() + "/"), files);  // no doubled '/'
}

TEST_F(DiscScanTest, DvdWithoutVobFallsThroughToVcdThenSvcd) {
  Make({"VIDEO_TS/VIDEO_TS.IFO", "MPEGAV/AVSEQ01.DAT", "MPEGAV/music.dat", "MPEGAV/a.txt", "MPEG2/AVSEQ01.DAT"});
  EXPECT_EQ(ScanDisc(disc_.Path()), Listed("MPEGAV", ".dat"));
  std::filesystem::remove_all(disc_.File("MPEGAV/AVSEQ01.DAT"));
  std::filesystem::remove_all(disc_.File("MPEGAV/music.dat"));
  EXPECT_EQ(ScanDisc(disc_.Path()), Queue{disc_.File("MPEG2/AVSEQ01.DAT")});
}

TEST_F(DiscScanTest, LowerCaseIso9660NamesAreFound) {
  Make({"mpegav/avseq01.dat"});
  EXPECT_EQ(ScanDisc(disc_.Path()), Queue{disc_.File("mpegav/avseq01.dat")});
}

TEST_F(DiscScanTest, NoDiscQueuesNothing) {
  Make({"DATA/movie.vob"});
  for (const std::string& drive : {disc_.Path(), disc_.File("missing"), disc_.File("DATA/movie.vob"), std::string()}) {
    EXPECT_TRUE(ScanDisc(drive).empty()) << drive;
  }
}

}  // namespace
