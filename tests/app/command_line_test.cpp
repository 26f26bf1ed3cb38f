#include "mainwindow/command_line.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/usage.h"
#include "platform/local_files.h"
#include "temp_dir.h"

namespace {

using app::CommandLineText;
using app::ModeOf;

TEST(CommandLine, ArgumentsAreJoinedWithSingleSpaces) {
  const char* none[] = {"kinovue"};
  EXPECT_EQ(CommandLineText(1, none), "");
  // The shell removed the quotes of kinovue "My Movie.avi"; unquoted, the
  // path came in two arguments. Both give the same text.
  const char* quoted[] = {"kinovue", "/m/My Movie.avi"};
  const char* split[] = {"kinovue", "/m/My", "Movie.avi"};
  EXPECT_EQ(CommandLineText(2, quoted), "/m/My Movie.avi");
  EXPECT_EQ(CommandLineText(3, split), "/m/My Movie.avi");
  const char* empties[] = {"kinovue", "", "a", ""};
  EXPECT_EQ(CommandLineText(4, empties), " a ");
}

TEST(CommandLine, OnlyTheExactModeWordsAreModes) {
  EXPECT_EQ(ModeOf("-install"), app::COMMAND_LINE_INSTALL);
  EXPECT_EQ(ModeOf("-remove"), app::COMMAND_LINE_REMOVE);
  EXPECT_EQ(ModeOf("--help"), app::COMMAND_LINE_HELP);
  EXPECT_EQ(ModeOf("-h"), app::COMMAND_LINE_HELP);
  EXPECT_EQ(ModeOf("--version"), app::COMMAND_LINE_VERSION);
  for (const char* text : {"", "-Install", "-REMOVE", " -install", "-install ", "-install x", "install", "-remov",
                           "--help x", "-help", "--Version", "-v"}) {
    EXPECT_EQ(ModeOf(text), app::COMMAND_LINE_NORMAL) << '"' << text << '"';
  }
}

TEST(CommandLine, OnlyRealSurroundingQuotesAreRemoved) {
  EXPECT_EQ(app::StripSurroundingQuotes("\"/m/a b.avi\""), "/m/a b.avi");
  EXPECT_EQ(app::StripSurroundingQuotes("/m/a b.avi"), "/m/a b.avi");
  EXPECT_EQ(app::StripSurroundingQuotes("\"/m/a.avi"), "/m/a.avi");
  EXPECT_EQ(app::StripSurroundingQuotes("/m/a.avi\""), "/m/a.avi");
  EXPECT_EQ(app::StripSurroundingQuotes("\"\"x\"\""), "\"x\"");  // one of each, no more
  EXPECT_EQ(app::StripSurroundingQuotes("\""), "");
  EXPECT_EQ(app::StripSurroundingQuotes("\"\""), "");
  EXPECT_EQ(app::StripSurroundingQuotes(""), "");
}

// What a user's arguments play, against real files in a working folder.
TEST(CommandLine, ArgumentsNameTheFilesToPlayAndQueue) {
  testsupport::TempDir folder;
  const std::string w = folder.Path();
  // "a\n.avi" exists, yet its address is refused: a line break would split a list's line.
  for (const char* name : {"a.avi", "b.avi", "My Movie.avi", "My", "中文 片.mp3", "a\n.avi"})
    ASSERT_TRUE(testsupport::WriteFileBytes(folder.File(name), "x"));
  std::filesystem::create_directory(folder.File("sub"));
  const std::string helper = "123\"/tmp/cache\"/opt/k\"/opt/k/kinovue\"";
  const struct {
    std::vector<std::string> arguments;
    std::vector<std::string> paths;
    std::vector<std::string> unknown;
  } rows[] = {
      {{}, {}, {}},
      {{""}, {}, {}},
      // One argument: as always, whole and not looked up.
      {{"My Movie.avi"}, {w + "/My Movie.avi"}, {}},
      {{"\"a.avi\""}, {w + "/a.avi"}, {}},
      {{"/m/missing.avi"}, {"/m/missing.avi"}, {}},
      {{"http://host/a.avi"}, {"http://host/a.avi"}, {}},
      {{"file://" + w + "/My%20Movie.avi"}, {w + "/My Movie.avi"}, {}},
      {{"file://localhost" + w + "/%E4%B8%AD%E6%96%87%20%E7%89%87.mp3"}, {w + "/中文 片.mp3"}, {}},
      // A name with spaces needs no quotes, even where a part of it exists.
      {{"My", "Movie.avi"}, {w + "/My Movie.avi"}, {}},
      {{"\"" + w + "/My", "Movie.avi\""}, {w + "/My Movie.avi"}, {}},
      {{"file://" + w + "/My", "Movie.avi"}, {w + "/My Movie.avi"}, {}},
      {{"中文", "片.mp3"}, {w + "/中文 片.mp3"}, {}},
      // Several files: each, in order.
      {{"a.avi", "b.avi"}, {w + "/a.avi", w + "/b.avi"}, {}},
      {{"b.avi", w + "/a.avi", "mms://host/c", "My"}, {w + "/b.avi", w + "/a.avi", "mms://host/c", w + "/My"}, {}},
      {{"file://" + w + "/a.avi", "FILE://localhost" + w + "/My%20Movie.avi"}, {w + "/a.avi", w + "/My Movie.avi"}, {}},
      // What names nothing is skipped and reported.
      {{"a.avi", "missing.avi", "b.avi"}, {w + "/a.avi", w + "/b.avi"}, {"missing.avi"}},
      {{"gone1", "gone2"}, {}, {"gone1", "gone2"}},
      {{"sub", "a.avi", "--fullscreen"}, {w + "/a.avi"}, {"sub", "--fullscreen"}},
      {{"file://other/a.avi", "file://" + w + "/gone", "b.avi"}, {w + "/b.avi"}, {"file://other/a.avi", "file://" + w + "/gone"}},
      {{"file://" + w + "/a%00.avi", "file://" + w + "/a%0A.avi", "b.avi"},
       {w + "/b.avi"},
       {"file://" + w + "/a%00.avi", "file://" + w + "/a%0A.avi"}},
      {{"", "a.avi"}, {w + "/a.avi"}, {""}},
      // An address with spaces stays one address.
      {{"http://host/My", "Movie.avi"}, {"http://host/My Movie.avi"}, {}},
      // The upgrade helper's text is left as it is, split or not.
      {{helper}, {helper.substr(0, helper.size() - 1)}, {}},
      {{"123\"/tmp/my", "cache\"/opt/k\"/opt/k/kinovue\""}, {"123\"/tmp/my cache\"/opt/k\"/opt/k/kinovue"}, {}},
  };
  for (const auto& row : rows) {
    const app::CommandLineFiles files = app::FilesOfArguments(row.arguments, w, platform::IsOpenableFile);
    const std::string shown = row.arguments.empty() ? "(none)" : row.arguments.front();
    EXPECT_EQ(files.paths, row.paths) << shown;
    EXPECT_EQ(files.unknown, row.unknown) << shown;
  }
}

TEST(CommandLine, TheUsageIsChineseWhereTheLocaleIs) {
  const struct {
    const char* lcAll;
    const char* lcMessages;
    const char* lang;
    bool chinese;
  } rows[] = {
      {nullptr, nullptr, "zh_CN.UTF-8", true}, {nullptr, nullptr, "en_US.UTF-8", false},
      {"", "zh_TW.UTF-8", "en_US.UTF-8", true}, {"C", "zh_CN.UTF-8", "zh_CN.UTF-8", false},
      {"zh_CN.GB18030", nullptr, "en_GB", true}, {nullptr, nullptr, nullptr, false},
  };
  for (const auto& row : rows)
    EXPECT_EQ(app::IsChineseLocale(row.lcAll, row.lcMessages, row.lang), row.chinese) << (row.lang ? row.lang : "-");
}

}  // namespace
