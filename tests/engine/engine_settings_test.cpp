#include "engine/engine_settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "temp_dir.h"

using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace {

constexpr const char* kComplete =
    "[mplayer]\nPlayCache=4096\nVolume=40\nMute=1\nOSDLevel=2\nAudioDev=1\nAudioOut=2\nAudioID=1\nSubID=0\n"
    "Postproc=2\nDeinterlace=1\nAspect=2\nReIndex=0\nSoftVol=1\nPriorityBoost=0\nParams=-fps 25\nSpeed=150\n";

ino_t Inode(const std::string& path) {
  struct stat st {};
  stat(path.c_str(), &st);
  return st.st_ino;
}

TEST(EngineSettingsLoad, NoFileWritesTheWholeSectionWithFileAbsentValues) {
  TempDir dir;
  IniFile ini(dir.File("kinovue.ini"));
  EngineSettings s;
  LoadEngineSettings(ini, s);
  EXPECT_EQ(s.playCache, 0);
  EXPECT_FALSE(s.reIndex);
  EXPECT_EQ(s.volume, 100);
  EXPECT_TRUE(s.priorityBoost);
  EXPECT_EQ(ReadFileBytes(dir.File("kinovue.ini")),
            "[mplayer]\nPlayCache=0\nVolume=100\nMute=0\nOSDLevel=1\nAudioDev=0\nAudioOut=3\nAudioID=-1\nSubID=-1\n"
            "Postproc=1\nDeinterlace=0\nAspect=0\nReIndex=0\nSoftVol=0\nPriorityBoost=1\nParams=\nSpeed=100\n");
}

TEST(EngineSettingsLoad, ACompleteSectionIsReadAndLeftAlone) {
  TempDir dir;
  WriteFileBytes(dir.File("kinovue.ini"), kComplete);
  const ino_t before = Inode(dir.File("kinovue.ini"));
  IniFile ini(dir.File("kinovue.ini"));
  EngineSettings s;
  LoadEngineSettings(ini, s);
  EXPECT_EQ(s.playCache, 4096);
  EXPECT_EQ(s.volume, 40);
  EXPECT_TRUE(s.mute);
  EXPECT_EQ(s.osdLevel, 2);
  EXPECT_EQ(s.audioOut, 2);
  EXPECT_EQ(s.audioId, 1);
  EXPECT_EQ(s.subId, 0);
  EXPECT_EQ(s.postproc, 2);
  EXPECT_EQ(s.deinterlace, 1);
  EXPECT_EQ(s.aspect, 2);
  EXPECT_FALSE(s.reIndex);
  EXPECT_TRUE(s.softVol);
  EXPECT_FALSE(s.priorityBoost);
  EXPECT_EQ(s.params, "-fps 25");
  EXPECT_EQ(s.speed, 150);
  EXPECT_EQ(Inode(dir.File("kinovue.ini")), before);  // not rewritten
}

TEST(EngineSettingsLoad, AMissingKeyTakesItsDefaultAndTheSectionIsRewritten) {
  TempDir dir;
  std::string text = kComplete;
  text.erase(text.find("ReIndex=0\n"), 10);
  WriteFileBytes(dir.File("kinovue.ini"), text);
  IniFile ini(dir.File("kinovue.ini"));
  EngineSettings s;
  LoadEngineSettings(ini, s);
  EXPECT_TRUE(s.reIndex);
  bool stored = false;
  EXPECT_TRUE(ini.ReadBool("mplayer", "ReIndex", stored));
  EXPECT_TRUE(stored);
  int volume = 0;
  EXPECT_TRUE(ini.ReadInt("mplayer", "Volume", volume));
  EXPECT_EQ(volume, 40);  // the others keep their values
}

TEST(EngineSettingsLoad, EmptyParamsCountsAsMissingAtEveryLoad) {
  TempDir dir;
  IniFile ini(dir.File("kinovue.ini"));
  EngineSettings s;
  LoadEngineSettings(ini, s);
  const ino_t first = Inode(dir.File("kinovue.ini"));
  LoadEngineSettings(ini, s);
  EXPECT_NE(Inode(dir.File("kinovue.ini")), first);
}

TEST(EngineSettingsLoad, OutOfRangeValuesAreClamped) {
  TempDir dir;
  std::string text = kComplete;
  text.replace(text.find("PlayCache=4096"), 14, "PlayCache=100000");
  text.replace(text.find("Volume=40"), 9, "Volume=250");
  WriteFileBytes(dir.File("kinovue.ini"), text);
  IniFile ini(dir.File("kinovue.ini"));
  EngineSettings s;
  LoadEngineSettings(ini, s);
  EXPECT_EQ(s.playCache, 8192);
  EXPECT_EQ(s.volume, 100);
  text.replace(text.find("Volume=250"), 10, "Volume=-5");
  WriteFileBytes(dir.File("kinovue.ini"), text);
  LoadEngineSettings(ini, s);
  EXPECT_EQ(s.volume, 0);
}

TEST(EngineSettingsLoad, GarbageFileGivesDefaultsAndBecomesComplete) {
  TempDir dir;
  WriteFileBytes(dir.File("kinovue.ini"), std::string("\x7f\x45\x4c\x46\0\0[mplayer\nVolume\n", 22));
  IniFile ini(dir.File("kinovue.ini"));
  EngineSettings s;
  LoadEngineSettings(ini, s);
  EXPECT_EQ(s.volume, 100);
  EXPECT_EQ(s.playCache, 2048);
  EXPECT_TRUE(s.reIndex);
  int cache = 0;
  EXPECT_TRUE(ini.ReadInt("mplayer", "PlayCache", cache));
  EXPECT_EQ(cache, 2048);
}

// The engine's single writes: each field to its own key, nothing else; the
// channel choice is never stored.
TEST(EngineSettingsWrite, EachFieldWritesOnlyItsOwnKey) {
  EngineSettings s;
  s.playCache = 100000;  // the cache command stores any value it gets
  s.volume = 40;
  s.mute = true;
  s.osdLevel = 2;
  s.aspect = 3;
  s.deinterlace = 2;
  s.channels = 1;
  const struct {
    bool (*write)(IniFile&, const EngineSettings&);
    const char* file;
  } rows[] = {
      {[](IniFile& i, const EngineSettings& e) { return WriteEngineSetting(i, e, &EngineSettings::playCache); },
       "[mplayer]\nPlayCache=100000\n"},
      {[](IniFile& i, const EngineSettings& e) { return WriteEngineSetting(i, e, &EngineSettings::volume); },
       "[mplayer]\nVolume=40\n"},
      {[](IniFile& i, const EngineSettings& e) { return WriteEngineSetting(i, e, &EngineSettings::mute); },
       "[mplayer]\nMute=1\n"},
      {[](IniFile& i, const EngineSettings& e) { return WriteEngineSetting(i, e, &EngineSettings::osdLevel); },
       "[mplayer]\nOSDLevel=2\n"},
      {[](IniFile& i, const EngineSettings& e) { return WriteEngineSetting(i, e, &EngineSettings::aspect); },
       "[mplayer]\nAspect=3\n"},
      {[](IniFile& i, const EngineSettings& e) { return WriteEngineSetting(i, e, &EngineSettings::deinterlace); },
       "[mplayer]\nDeinterlace=2\n"},
      {[](IniFile& i, const EngineSettings& e) { return WriteEngineSetting(i, e, &EngineSettings::channels); }, ""},
  };
  for (const auto& row : rows) {
    TempDir dir;
    IniFile ini(dir.File("kinovue.ini"));
    EXPECT_EQ(row.write(ini, s), *row.file != '\0') << row.file;
    EXPECT_EQ(ReadFileBytes(dir.File("kinovue.ini")), row.file);
  }
}

// The play settings dialog opens with this value: the file's own, found by
// the file's matching rules, not capped; 0 when nothing is stored.
TEST(EngineSettingsStoredPlayCache, IsTheFilesValueOrZero) {
  const struct {
    const char* file;
    int expected;
  } rows[] = {
      {"[kinovue]\nPlayCache=1\n[MPlayer]\nplaycache = 8192\n", 8192},
      {"[mplayer]\nPlayCache=100000\n", 100000},
      {"[mplayer]\nPlayCache=\n", 0},
      {nullptr, 0},
  };
  for (const auto& row : rows) {
    TempDir dir;
    if (row.file) WriteFileBytes(dir.File("kinovue.ini"), row.file);
    EXPECT_EQ(StoredPlayCache(IniFile(dir.File("kinovue.ini"))), row.expected) << (row.file ? row.file : "no file");
  }
}

}  // namespace
