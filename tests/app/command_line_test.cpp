#include "mainwindow/command_line.h"

#include <gtest/gtest.h>

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
  for (const char* text : {"", "-Install", "-REMOVE", " -install", "-install ", "-install x", "install", "-remov"}) {
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

}  // namespace
