#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "core_app.h"
#include "history/history_list.h"
#include "settings/ini_file.h"
#include "temp_dir.h"

namespace {

constexpr char kWriterVariable[] = "KINOVUE_HISTORY_TEST_WRITER";

// Started again with KINOVUE_HISTORY_TEST_WRITER=<settings file>, the test
// program reopens five files in turn for ever, each time rewriting the list.
[[maybe_unused]] const bool kRanAsWriter = [] {
  const QByteArray settings = qgetenv(kWriterVariable);
  if (settings.isEmpty()) return false;
  CHistoryList history;
  history.LoadHistory(settings.toStdString());
  std::puts("writing");
  std::fflush(stdout);
  for (int i = 0;; ++i) history.AddFile("/m/clip" + std::to_string(i % 5));
}();

using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;
using Paths = std::vector<std::string>;
using namespace std::string_literals;

// The entries as the recent-files menu walks them.
Paths Walk(const CHistoryList& history) {
  Paths paths;
  std::string path;
  int position = 0;
  for (bool more = history.GetFirstFile(path, position); more && paths.size() <= 10;
       more = history.GetNextFile(position, path, position)) {
    paths.push_back(path);
  }
  return paths;
}

class HistoryTest : public ::testing::Test {
 protected:
  std::string Settings() const { return dir_.File("kinovue.ini"); }
  // What the next start shows.
  Paths Reloaded() const {
    CHistoryList history;
    history.LoadHistory(Settings());
    return Walk(history);
  }
  Paths Loaded(const std::string& bytes) const {
    EXPECT_TRUE(WriteFileBytes(Settings(), bytes));
    return Reloaded();
  }
  int ReadInt(const std::string& section, const std::string& key) const {
    int value = -1;
    IniFile(Settings()).ReadInt(section, key, value);
    return value;
  }
  void Add(CHistoryList& history, const Paths& paths) {
    for (const std::string& path : paths) history.AddFile(path);
  }

  testsupport::TempDir dir_;
};

TEST_F(HistoryTest, NewestFirstFourAtMostReopenedMovesToTop) {
  CHistoryList history;
  history.LoadHistory(Settings());
  Add(history, {"/m/p1", "/m/p2", "/m/p3", "/m/p4", "/m/p5"});
  EXPECT_EQ(Walk(history), (Paths{"/m/p5", "/m/p4", "/m/p3", "/m/p2"}));
  EXPECT_EQ(Reloaded(), Walk(history));
  history.AddFile("/m/p3");
  EXPECT_EQ(Walk(history), (Paths{"/m/p3", "/m/p5", "/m/p4", "/m/p2"}));
  EXPECT_EQ(Reloaded(), Walk(history));
  history.AddFile("/m/P3");  // case matters
  EXPECT_EQ(Walk(history), (Paths{"/m/P3", "/m/p3", "/m/p5", "/m/p4"}));
}

TEST_F(HistoryTest, MostRecentAgainWritesNothing) {
  CHistoryList history;
  history.LoadHistory(Settings());
  history.AddFile("/m/a");
  ASSERT_TRUE(WriteFileBytes(Settings(), "[history_list]\nFile_0=/m/other\n"));
  history.AddFile("/m/a");
  EXPECT_EQ(ReadFileBytes(Settings()), "[history_list]\nFile_0=/m/other\n");
}

TEST_F(HistoryTest, PathsRoundTripAndOtherSectionsSurvive) {
  ASSERT_TRUE(WriteFileBytes(Settings(), "[kinovue]\nAutoUpdate=1\n[history_list]\nFile_0=/m/old\n[mplayer]\nVolume=40\n"));
  const Paths paths = {"/home/用户/电影 第一集.mkv", "http://host/a?b=c;d", "/m/x=y[1].avi"};
  CHistoryList history;
  history.LoadHistory(Settings());
  Add(history, Paths(paths.rbegin(), paths.rend()));
  EXPECT_EQ(Reloaded(), (Paths{paths[0], paths[1], paths[2], "/m/old"}));
  history.ClearHistory();
  EXPECT_EQ(ReadInt("kinovue", "AutoUpdate"), 1);
  EXPECT_EQ(ReadInt("mplayer", "Volume"), 40);
}

TEST_F(HistoryTest, LoadStopsAtTheFirstMissingOrEmptyKey) {
  EXPECT_EQ(Reloaded(), Paths{});  // no file
  EXPECT_EQ(Loaded("[kinovue]\nFile_0=/m/a\n"), Paths{});
  EXPECT_EQ(Loaded("[history_list]\nFile_0=/m/a\nFile_2=/m/c\n"), (Paths{"/m/a"}));
  EXPECT_EQ(Loaded("[history_list]\nFile_0=\nFile_1=/m/b\n"), Paths{});
  EXPECT_EQ(Loaded("[history_list]\nFile_0=a\nFile_1=b\nFile_2=c\nFile_3=d\nFile_4=e\n"), (Paths{"a", "b", "c", "d"}));
}

TEST_F(HistoryTest, BrokenSectionLoadsWhatIsSound) {
  const std::string tooLong(CHistoryList::kMaxPath + 1, 'x');
  const std::string atLimit(CHistoryList::kMaxPath, 'y');
  const Paths loaded = Loaded("\xff\xfe garbage\0\x01\n[history_list]\nno equals sign\nfile_0=/m/a\n"
                              "File_1=/m/a\r\nFile_2="s + tooLong + "\nFile_3=" + atLimit + "\n");
  // The repeated and the over-long (cut) entry are left out; the rest loads.
  ASSERT_EQ(loaded.size(), 2u);
  EXPECT_EQ(loaded[0], "/m/a");
  EXPECT_TRUE(loaded[1] == atLimit) << loaded[1].size() << " bytes";
}

TEST_F(HistoryTest, LoadingIntoAFilledHistoryKeepsItsRules) {
  ASSERT_TRUE(WriteFileBytes(Settings(), "[history_list]\nFile_0=/m/b\nFile_1=/m/x\nFile_2=/m/y\n"));
  CHistoryList history;
  history.LoadHistory(dir_.File("elsewhere.ini"));
  Add(history, {"/m/b", "/m/a"});
  history.LoadHistory(Settings());
  EXPECT_EQ(Walk(history), (Paths{"/m/a", "/m/b", "/m/x", "/m/y"}));
}

TEST_F(HistoryTest, ClearEmptiesMemoryAndFileAndStartsAfresh) {
  CHistoryList history;
  history.LoadHistory(Settings());
  Add(history, {"/m/a", "/m/b"});
  history.ClearHistory();
  EXPECT_EQ(Walk(history), Paths{});
  EXPECT_EQ(Reloaded(), Paths{});
  history.AddFile("/m/c");
  EXPECT_EQ(Reloaded(), (Paths{"/m/c"}));
}

TEST_F(HistoryTest, KilledWhileWritingLeavesAWholeList) {
  testsupport::CoreApp();
  ASSERT_EQ(Loaded("[history_list]\nFile_0=/m/clip4\nFile_1=/m/clip3\nFile_2=/m/clip2\nFile_3=/m/clip1\n").size(), 4u);
  for (int round = 0; round < 10; ++round) {
    QProcess writer;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kWriterVariable, QString::fromStdString(Settings()));
    writer.setProcessEnvironment(environment);
    writer.start(QCoreApplication::applicationFilePath(), {});
    ASSERT_TRUE(writer.waitForReadyRead(5000));
    std::this_thread::sleep_for(std::chrono::milliseconds(20 + 7 * round));
    writer.kill();
    writer.waitForFinished(5000);
    EXPECT_EQ(Reloaded().size(), 4u) << "round " << round;
  }
}

TEST_F(HistoryTest, EmptyPathOrLineBreakIsNotRecorded) {
  ASSERT_TRUE(WriteFileBytes(Settings(), "[kinovue]\nAutoUpdate=1\n"));
  CHistoryList history;
  history.LoadHistory(Settings());
  // An empty File_0 would hide every entry at the next start; a line break
  // would write lines of its own into the settings file.
  Add(history, {"/m/a", "", "/m/evil\n[kinovue]\nAutoUpdate=0", "/m/evil\r.avi", "/" + std::string(4095, 'x')});
  EXPECT_EQ(Walk(history), (Paths{"/m/a"}));
  EXPECT_EQ(Reloaded(), (Paths{"/m/a"}));
  EXPECT_EQ(ReadInt("kinovue", "AutoUpdate"), 1);
}

TEST_F(HistoryTest, UnwritableSettingsStillKeepTheListInMemory) {
  CHistoryList history;
  history.LoadHistory(dir_.File("missing/kinovue.ini"));
  Add(history, {"/m/a", "/m/b"});
  EXPECT_EQ(Walk(history), (Paths{"/m/b", "/m/a"}));
}

TEST_F(HistoryTest, IndexedAccessStaysInRange) {
  CHistoryList history;
  std::string path = "untouched";
  int position = 7;
  EXPECT_FALSE(history.GetFirstFile(path, position));
  EXPECT_FALSE(history.GetFileAt(path, 0));
  history.LoadHistory(Settings());
  Add(history, {"/m/a", "/m/b"});
  EXPECT_TRUE(history.GetFileAt(path, 1));
  EXPECT_EQ(path, "/m/a");
  path = "untouched";
  for (int index : {2, -1, INT_MAX}) EXPECT_FALSE(history.GetFileAt(path, index)) << index;
  for (int index : {1, -5, INT_MAX}) EXPECT_FALSE(history.GetNextFile(index, path, position)) << index;
  EXPECT_EQ(path, "untouched");
}

}  // namespace
