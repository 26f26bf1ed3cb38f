#include "enginelib/engine_arguments.h"

#include <gtest/gtest.h>

using Args = std::vector<std::string>;

namespace {

const Args kHostVector{"kinovue.exe", "-slave",  "-identify", "-wid",        "4242",     "-colorkey", "0x101010",
                       "-vo",         "directx", "-idx",      "-softvol",    "-max",     "100",       "-priority",
                       "abovenormal", "-ao",     "dsound",    "-vf-add",     "pp",       "/m/a b.avi"};

TEST(EngineArguments, HostVectorBecomesMplayerVectorWithAndWithoutDisplay) {
  EXPECT_EQ(TranslateEngineArguments("/usr/bin/mplayer", kHostVector, false, false),
            (Args{"/usr/bin/mplayer", "-nolirc", "-slave", "-identify", "-colorkey", "0x101010", "-vo", "null", "-idx",
                  "-softvol", "-softvol-max", "100", "-ao", "pulse,alsa,null,", "-vf-add", "pp", "/m/a b.avi"}));
  EXPECT_EQ(TranslateEngineArguments("mp", kHostVector, true, false),
            (Args{"mp", "-nolirc", "-slave", "-identify", "-wid", "4242", "-colorkey", "0x101010", "-vo", "xv,x11,",
                  "-zoom", "-idx", "-softvol", "-softvol-max", "100", "-ao", "pulse,alsa,null,", "-vf-add", "pp",
                  "-noslices", "-vf-add", "expand=::::1::16", "/m/a b.avi"}));
}

TEST(EngineArguments, OnlyTheWindowsDriverNamesAreReplaced) {
  EXPECT_EQ(TranslateEngineArguments("mp", {"kinovue.exe", "-vo", "gl", "-ao", "alsa", "f.avi"}, true, false),
            (Args{"mp", "-nolirc", "-vo", "gl", "-ao", "alsa", "f.avi"}));
}

TEST(EngineArguments, MediumIsNeverTakenAsAnOptionOrItsValue) {
  // "-priority" and "-wid" drop their value, but not when that is the medium.
  EXPECT_EQ(TranslateEngineArguments("mp", {"kinovue.exe", "-priority", "f.avi"}, false, false),
            (Args{"mp", "-nolirc", "f.avi"}));
  EXPECT_EQ(TranslateEngineArguments("mp", {"kinovue.exe", "-wid", "f.avi"}, false, false),
            (Args{"mp", "-nolirc", "f.avi"}));
  EXPECT_EQ(TranslateEngineArguments("mp", {"kinovue.exe", "-x.avi"}, false, false),
            (Args{"mp", "-nolirc", "./-x.avi"}));
  EXPECT_EQ(TranslateEngineArguments("mp", {"kinovue.exe", "-"}, false, false), (Args{"mp", "-nolirc", "./-"}));
  EXPECT_EQ(TranslateEngineArguments("mp", {"kinovue.exe", "-max"}, false, false), (Args{"mp", "-nolirc", "./-max"}));
  EXPECT_EQ(TranslateEngineArguments("mp", {"kinovue.exe", "http://h/-a"}, false, false),
            (Args{"mp", "-nolirc", "http://h/-a"}));
}

TEST(EngineArguments, SubtitleFontFileAndChineseCodePage) {
  const struct {
    Args host;
    bool enca;
    Args expected;
  } rows[] = {
      {{"kinovue.exe", "-font", "/f/wqy.ttc", "-subcp", "cp936", "f.avi"}, true,
       {"mp", "-nolirc", "-nofontconfig", "-font", "/f/wqy.ttc", "-subcp", "enca:zh:cp936", "f.avi"}},
      {{"kinovue.exe", "-font", "/f/wqy.ttc", "-subcp", "cp936", "f.avi"}, false,
       {"mp", "-nolirc", "-nofontconfig", "-font", "/f/wqy.ttc", "-subcp", "cp936", "f.avi"}},
      // A fontconfig pattern and any other code page are the user's choice.
      {{"kinovue.exe", "-font", "Sans:bold", "-subcp", "big5", "f.avi"}, true,
       {"mp", "-nolirc", "-font", "Sans:bold", "-subcp", "big5", "f.avi"}},
      {{"kinovue.exe", "-font", "/m/cp936"}, true, {"mp", "-nolirc", "-font", "/m/cp936"}},
      {{"kinovue.exe", "-subcp", "cp936"}, true, {"mp", "-nolirc", "-subcp", "cp936"}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(TranslateEngineArguments("mp", row.host, false, row.enca), row.expected) << "row " << &row - rows;
  }
}

TEST(EngineArguments, HaveDisplayNeedsANonEmptyName) {
  EXPECT_FALSE(HaveDisplay(nullptr));
  EXPECT_FALSE(HaveDisplay(""));
  EXPECT_TRUE(HaveDisplay(":0"));
}

TEST(EngineEnvironment, MessagesForcedToEnglishEvenUnderLcAll) {
  const char* parent[] = {"HOME=/h", "LC_ALL=zh_CN.UTF-8", "LC_CTYPE=fr_FR.UTF-8", "LC_MESSAGES=zh_CN.UTF-8",
                          "LANGUAGE=zh_CN:en", "LANG=zh_CN.UTF-8", "ODD", nullptr};
  const auto env = BuildEngineEnvironment(parent);
  const Args expected{"HOME=/h",
                      "LANG=zh_CN.UTF-8",
                      "ODD",
                      "LC_CTYPE=zh_CN.UTF-8",
                      "LC_NUMERIC=zh_CN.UTF-8",
                      "LC_TIME=zh_CN.UTF-8",
                      "LC_COLLATE=zh_CN.UTF-8",
                      "LC_MONETARY=zh_CN.UTF-8",
                      "LC_PAPER=zh_CN.UTF-8",
                      "LC_NAME=zh_CN.UTF-8",
                      "LC_ADDRESS=zh_CN.UTF-8",
                      "LC_TELEPHONE=zh_CN.UTF-8",
                      "LC_MEASUREMENT=zh_CN.UTF-8",
                      "LC_IDENTIFICATION=zh_CN.UTF-8",
                      "LC_MESSAGES=C"};
  EXPECT_EQ(env, expected);
}

TEST(EngineEnvironment, WithoutLcAllOnlyMessagesChange) {
  const char* parent[] = {"LC_CTYPE=fr_FR.UTF-8", "LC_ALL=", "PATH=/bin", nullptr};
  EXPECT_EQ(BuildEngineEnvironment(parent), (Args{"LC_CTYPE=fr_FR.UTF-8", "PATH=/bin", "LC_MESSAGES=C"}));
  EXPECT_EQ(BuildEngineEnvironment(nullptr), (Args{"LC_MESSAGES=C"}));
}

}  // namespace
