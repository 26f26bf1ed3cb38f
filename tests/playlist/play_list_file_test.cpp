#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "playlist/general_play_list.h"
#include "playlist/play_list_file.h"
#include "recording_view.h"
#include "temp_dir.h"

namespace {

using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;
using Lines = std::vector<std::string>;
using namespace std::string_literals;

Lines Items(const CGeneralPlayList& list) {
  Lines items;
  for (int i = 0; i < list.Count(); ++i) items.push_back(list.ItemAt(i));
  return items;
}

Lines LoadBytes(const TempDir& dir, const std::string& bytes, CGeneralPlayList&& list = CGeneralPlayList()) {
  const std::string file = dir.File("list.txt");
  EXPECT_TRUE(WriteFileBytes(file, bytes));
  EXPECT_TRUE(list.Load(file));
  return Items(list);
}

TEST(PlayListSave, WritesEachItemWithCrLfAndReadsItBack) {
  TempDir dir;
  const std::string file = dir.File("PlayList.dat");
  ASSERT_TRUE(WriteFileBytes(file, std::string(10000, 'z')));  // longer than what replaces it
  CGeneralPlayList empty;
  EXPECT_TRUE(empty.Save(file));
  EXPECT_EQ(ReadFileBytes(file), "");

  const Lines items = {"/home/u/电影/第一集.mkv", "http://host/a b?x=1", "", "C:\\old.avi", "cr at end\r",
                       std::string(kPlayListMaxLine, 'p')};
  CGeneralPlayList list;
  for (const std::string& item : items) list.Add(item);
  list.Add("/m/two\nlines");  // cannot be told from two items: left out
  EXPECT_TRUE(list.Save(file));
  std::string expected;
  for (const std::string& item : items) expected += item + "\r\n";
  EXPECT_EQ(ReadFileBytes(file), expected);
  CGeneralPlayList again;
  EXPECT_TRUE(again.Load(file));
  EXPECT_EQ(Items(again), items);
  EXPECT_EQ(again.Current(), -1);
}

TEST(PlayListFile, APlaceThatIsNoFileFailsBothWaysAndKeepsTheList) {
  TempDir dir;
  CGeneralPlayList list;
  list.Add("/a");
  for (const std::string& place : {dir.File("missing/PlayList.dat"), dir.Path(), std::string()}) {
    EXPECT_FALSE(list.Save(place)) << place;
    EXPECT_FALSE(list.Load(place)) << place;
  }
  EXPECT_EQ(Items(list), (Lines{"/a"}));
}

TEST(PlayListLoad, LineEndsBlankLinesAndAnUnendedLastLine) {
  TempDir dir;
  EXPECT_EQ(LoadBytes(dir, "/a\r\n/b\n/c\r\n"), (Lines{"/a", "/b", "/c"}));
  EXPECT_EQ(LoadBytes(dir, "/a\rb\n/c\r\r\n"), (Lines{"/a\rb", "/c\r"}));  // only CR LF ends a line
  EXPECT_EQ(LoadBytes(dir, "/a\r\n\r\n/b\n\n\r\n/c\r\n"), (Lines{"/a", "", "/b", "/c"}));
  // A last line without a line end (a list written by hand) loads too.
  EXPECT_EQ(LoadBytes(dir, "/a\r\n/b"), (Lines{"/a", "/b"}));
  EXPECT_EQ(LoadBytes(dir, "/a\n/b\r"), (Lines{"/a", "/b"}));
  EXPECT_EQ(LoadBytes(dir, ""), Lines{});
}

TEST(PlayListLoad, LineAtTheLimitLoadsLongerLinesAreSkippedAlone) {
  TempDir dir;
  const std::string atLimit(kPlayListMaxLine, 'a');
  const std::string overLimit(kPlayListMaxLine + 1, 'b');
  EXPECT_EQ(LoadBytes(dir, atLimit + "\r\n/x\n" + atLimit + "\n"), (Lines{atLimit, "/x"}));
  EXPECT_EQ(LoadBytes(dir, "/a\r\n" + overLimit + "\r\n/b\r\n" + overLimit + "\n/c\n" + atLimit + "\r\r\n/d\n"),
            (Lines{"/a", "/b", "/c", "/d"}));
}

TEST(PlayListLoad, MegabyteLinesAndBinaryBytesAreHandled) {
  TempDir dir;
  std::string binary;
  for (int i = 255; i >= 0; --i) binary += static_cast<char>(i == '\n' ? 'x' : i);
  const std::string huge(3 * 1024 * 1024, '\xff');
  EXPECT_EQ(LoadBytes(dir, huge + "\n/a\r\n" + "nul\0after\r\n"s + binary + "\n" + huge),
            (Lines{"/a", "nul", binary.substr(0, 255)}));  // a path ends at its NUL
}

TEST(PlayListLoad, RepeatedLinesAndImportIntoAFilledList) {
  TempDir dir;
  CGeneralPlayList list;
  list.Add("/old1");
  list.Add("/old2");
  EXPECT_EQ(LoadBytes(dir, "/new1\r\n/old2\r\n/new2\r\n/new1\r\n", std::move(list)),
            (Lines{"/old1", "/old2", "/new1", "/new2"}));
  CGeneralPlayList repeated;
  LoadBytes(dir, "/a\r\n/b\r\n/c\r\n/b\r\n", std::move(repeated));
  EXPECT_EQ(repeated.Current(), 1);
}

TEST(PlayListLoad, WithOpenWindowRowsAppearAndTheLastNewItemIsCurrent) {
  TempDir dir;
  CGeneralPlayList list;
  RecordingView* view = OpenWindow(list);
  LoadBytes(dir, "/a\r\n/b\r\n", std::move(list));
  EXPECT_EQ(view->rows, (Lines{"/a", "/b"}));
  EXPECT_EQ(list.Current(), 1);
  EXPECT_EQ(view->selected, 1);
}

TEST(PlayListLoad, LongListLoadsWithoutQuadraticDuplicateSearch) {
  TempDir dir;
  std::string bytes;
  const int count = 200000;
  for (int i = 0; i < count; ++i) bytes += "/media/folder/file" + std::to_string(i) + ".avi\r\n";
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(LoadBytes(dir, bytes).size(), static_cast<std::size_t>(count));
  // A scan of the whole list per line takes minutes here.
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 20.0);
}

}  // namespace
