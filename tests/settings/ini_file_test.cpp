#include "settings/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>

#include "temp_dir.h"

using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace {

std::string ReadStr(const IniFile& ini, const std::string& section, const std::string& key, std::size_t size = 4096) {
  std::string value;
  ini.ReadString(section, key, value, size);
  return value;
}

TEST(IniFileReading, NamesMatchWithoutCaseAndValuesAreTrimmed) {
  TempDir dir;
  WriteFileBytes(dir.File("a.ini"), "[Kinovue]\r\n  LastOpen =  /home/u/a b.avi  \r\n[mplayer]\nVolume=40\n");
  IniFile ini(dir.File("a.ini"));
  EXPECT_EQ(ReadStr(ini, "KINOVUE", "lastopen"), "/home/u/a b.avi");
  int volume = 0;
  EXPECT_TRUE(ini.ReadInt("MPlayer", "VOLUME", volume));
  EXPECT_EQ(volume, 40);
}

TEST(IniFileReading, OneSurroundingPairOfQuotesIsRemoved) {
  TempDir dir;
  WriteFileBytes(dir.File("a.ini"),
                 "[s]\nA=\"-vf eq2\"\nB='x'\nC=\"\"a\"\"\nD=\"open\nE='mixed\"\nF=\"\nG=\"\"\n");
  IniFile ini(dir.File("a.ini"));
  EXPECT_EQ(ReadStr(ini, "s", "A"), "-vf eq2");
  EXPECT_EQ(ReadStr(ini, "s", "B"), "x");
  EXPECT_EQ(ReadStr(ini, "s", "C"), "\"a\"");  // only one pair
  EXPECT_EQ(ReadStr(ini, "s", "D"), "\"open");
  EXPECT_EQ(ReadStr(ini, "s", "E"), "'mixed\"");
  EXPECT_EQ(ReadStr(ini, "s", "F"), "\"");
  std::string empty = "x";
  EXPECT_FALSE(ini.ReadString("s", "G", empty, 260));  // quotes around nothing: absent
}

TEST(IniFileReading, EmptyValueAndMissingKeyCountAsAbsent) {
  TempDir dir;
  WriteFileBytes(dir.File("a.ini"), "[s]\nParams=\nOther=   \n");
  IniFile ini(dir.File("a.ini"));
  int n = 7;
  std::string text = "x";
  EXPECT_FALSE(ini.ReadInt("s", "Params", n));
  EXPECT_FALSE(ini.ReadString("s", "Other", text, 260));
  EXPECT_TRUE(text.empty());
  EXPECT_FALSE(ini.ReadInt("s", "Missing", n));
  EXPECT_FALSE(ini.ReadInt("nosection", "Params", n));
  EXPECT_EQ(n, 7);
}

TEST(IniFileReading, IntegersTakeTheLeadingNumber) {
  TempDir dir;
  WriteFileBytes(dir.File("a.ini"),
                 "[s]\na=  -12abc\nb=abc\nc=+7\nd=99999999999999999999\ne=-99999999999999999999\n"
                 "f=1234567890123456789012345678901234567890\n");
  IniFile ini(dir.File("a.ini"));
  int v = 0;
  ASSERT_TRUE(ini.ReadInt("s", "a", v));
  EXPECT_EQ(v, -12);
  ASSERT_TRUE(ini.ReadInt("s", "b", v));  // letters only: present, and 0
  EXPECT_EQ(v, 0);
  ASSERT_TRUE(ini.ReadInt("s", "c", v));
  EXPECT_EQ(v, 7);
  ASSERT_TRUE(ini.ReadInt("s", "d", v));
  EXPECT_EQ(v, INT_MAX);
  ASSERT_TRUE(ini.ReadInt("s", "e", v));
  EXPECT_EQ(v, INT_MIN);
  bool flag = false;
  ASSERT_TRUE(ini.ReadBool("s", "c", flag));
  EXPECT_TRUE(flag);
  ASSERT_TRUE(ini.ReadBool("s", "b", flag));
  EXPECT_FALSE(flag);
}

TEST(IniFileReading, StringsAreCutToTheBufferSize) {
  TempDir dir;
  WriteFileBytes(dir.File("a.ini"), "[s]\nk=abcdefgh\n");
  IniFile ini(dir.File("a.ini"));
  EXPECT_EQ(ReadStr(ini, "s", "k", 5), "abcd");
  std::string v;
  EXPECT_FALSE(ini.ReadString("s", "k", v, 1));  // room for the terminator only
}

TEST(IniFileReading, BrokenFilesReadWithoutHarm) {
  TempDir dir;
  std::string junk("\x00\xff\xfe[s\x00]\n", 8);
  junk += std::string(3 * 1024 * 1024, 'x');  // one line of megabytes
  junk += "\n[s]\nk=5";                         // no final line end
  junk += std::string("\n\x01\x02=\x03\n", 7);
  WriteFileBytes(dir.File("a.ini"), junk);
  IniFile ini(dir.File("a.ini"));
  int v = 0;
  ASSERT_TRUE(ini.ReadInt("s", "k", v));
  EXPECT_EQ(v, 5);
  EXPECT_TRUE(ini.WriteInt("s", "k", 6));
  ASSERT_TRUE(ini.ReadInt("s", "k", v));
  EXPECT_EQ(v, 6);
  // The unknown bytes were kept, not thrown away by the rewrite.
  EXPECT_NE(ReadFileBytes(dir.File("a.ini")).find(std::string(3 * 1024 * 1024, 'x')), std::string::npos);
}

TEST(IniFileReading, WithoutPathOrFileEverythingFails) {
  IniFile none;
  int v = 3;
  EXPECT_FALSE(none.ReadInt("s", "k", v));
  EXPECT_FALSE(none.WriteInt("s", "k", 1));
  EXPECT_FALSE(none.Exists());
  EXPECT_EQ(v, 3);
  TempDir dir;
  IniFile missing(dir.File("nope.ini"));
  EXPECT_FALSE(missing.Exists());
  EXPECT_FALSE(missing.ReadInt("s", "k", v));
  IniFile folder(dir.Path());
  EXPECT_FALSE(folder.Exists());  // a directory is not a settings file
}

TEST(IniFileWriting, CreatesFileAndSectionAndReplacesInPlace) {
  TempDir dir;
  IniFile ini(dir.File("new.ini"));
  EXPECT_TRUE(ini.WriteInt("mplayer", "Volume", 80));
  EXPECT_TRUE(ini.WriteBool("mplayer", "Mute", true));
  EXPECT_TRUE(ini.WriteString("kinovue", "LastOpen", "/tmp/x.avi"));
  EXPECT_TRUE(ini.WriteInt("MPLAYER", "volume", 30));
  EXPECT_TRUE(ini.Exists());
  EXPECT_EQ(ReadFileBytes(dir.File("new.ini")),
            "[mplayer]\nvolume=30\nMute=1\n[kinovue]\nLastOpen=/tmp/x.avi\n");
}

TEST(IniFileWriting, CommentsAndForeignLinesSurviveAndNewKeysJoinTheirSection) {
  TempDir dir;
  WriteFileBytes(dir.File("a.ini"), "; settings\r\n[a]\r\nx=1\r\nnot a pair\r\n\r\n[b]\r\ny=2\r\n");
  IniFile ini(dir.File("a.ini"));
  EXPECT_TRUE(ini.WriteInt("a", "z", 3));
  EXPECT_EQ(ReadFileBytes(dir.File("a.ini")), "; settings\n[a]\nx=1\nnot a pair\nz=3\n\n[b]\ny=2\n");
}

TEST(IniFileWriting, DeleteSectionRemovesOnlyThatSection) {
  TempDir dir;
  WriteFileBytes(dir.File("a.ini"), "[history_list]\n0=/a\n1=/b\n[kinovue]\nTopmost=1\n[HISTORY_LIST]\n2=/c\n");
  IniFile ini(dir.File("a.ini"));
  EXPECT_TRUE(ini.DeleteSection("history_list"));
  EXPECT_EQ(ReadFileBytes(dir.File("a.ini")), "[kinovue]\nTopmost=1\n");
  EXPECT_TRUE(ini.DeleteSection("absent"));
}

TEST(IniFileWriting, LineBreaksCannotInjectKeys) {
  TempDir dir;
  IniFile ini(dir.File("a.ini"));
  EXPECT_FALSE(ini.WriteString("s", "k", "a\n[evil]\nx=1"));
  EXPECT_FALSE(ini.WriteString("s\n", "k", "v"));
  EXPECT_FALSE(ini.WriteString("s", "k=j", "v"));
  int v = 0;
  EXPECT_FALSE(ini.ReadInt("evil", "x", v));
}

TEST(IniFileWriting, ReplacesTheFileAtomically) {
  TempDir dir;
  const std::string path = dir.File("a.ini");
  IniFile ini(path);
  ASSERT_TRUE(ini.WriteInt("s", "k", 1));
  struct stat before {};
  ASSERT_EQ(stat(path.c_str(), &before), 0);
  ASSERT_TRUE(ini.WriteInt("s", "k", 2));
  struct stat after {};
  ASSERT_EQ(stat(path.c_str(), &after), 0);
  // A new inode: the old file was never rewritten in place.
  EXPECT_NE(before.st_ino, after.st_ino);
  // No temporary file is left beside it.
  EXPECT_EQ(ReadFileBytes(path), "[s]\nk=2\n");
}

TEST(IniFileWriting, UnwritablePlaceFailsQuietly) {
  TempDir dir;
  WriteFileBytes(dir.File("plain"), "not a folder");
  for (const std::string& path : {dir.File("no/such/folder/a.ini"), dir.File("plain/a.ini")}) {
    IniFile ini(path);
    EXPECT_FALSE(ini.WriteInt("s", "k", 2)) << path;
    int v = 0;
    EXPECT_FALSE(ini.ReadInt("s", "k", v)) << path;
  }
  EXPECT_EQ(ReadFileBytes(dir.File("plain")), "not a folder");
}

}  // namespace
