// Placing several files as one: a full disk while they are written, or a
// process killed between them (the journal and staged files it leaves
// behind), ends with the old program or the new one, whole, never a mix.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core_app.h"
#include "full_disk.h"
#include "settings/ini_file.h"
#include "temp_dir.h"
#include "update/update_library.h"
#include "update_server.h"
#include "updatelib/file_switch.h"
#include "updatelib/update_session.h"

using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

namespace {

// Larger than the room left on the full disk: it fills up after the first file.
const std::string kLargeData(64 * 1024, 'd');
constexpr long kRoom = 16 * 1024;

// Three files of one update: two replace old ones, one is new.
const struct {
  const char* id;
  const char* name;
  const char* oldContent;  // null: no old file
  std::string newContent;
} kFiles[] = {
    {"_kinovue_exe", "kinovue", "old program", "new program"},
    {"_data_txt", "data.txt", "old data", kLargeData},
    {"_skin", "skins/new.png", nullptr, "new skin"},
};

enum class Left { Nothing, StagedOnly, HalfSwitched, Switched };

struct Row {
  const char* name;
  bool diskFull;  // the update is placed while the disk is full
  Left left;      // else: what a killed update left, found as the library loads
  bool expectNew;
};

const Row kRows[] = {
    {"DiskFullWhilePlacing", true, Left::Nothing, false},
    {"KilledWhileStaging", false, Left::StagedOnly, false},
    {"KilledBetweenFiles", false, Left::HalfSwitched, false},
    {"KilledAfterTheSwitch", false, Left::Switched, true},
};

class FileSwitch : public ::testing::TestWithParam<Row> {
 protected:
  void SetUp() override {
    testsupport::CoreApp();
    QDir().mkpath(QString::fromStdString(Program() + "dat"));
    for (const auto& file : kFiles) {
      if (file.oldContent) WriteFileBytes(Program() + file.name, file.oldContent);
    }
  }
  std::string Program() const { return (GetParam().diskFull ? disk.Path() : folder.Path()) + "/"; }
  std::string Staged(const std::string& part) const { return Program() + kSwitchFolder + "/" + part; }
  std::string Version(const std::string& section, const std::string& key) const {
    std::string value;
    IniFile(Program() + "dat/UpdateLocal.ini").ReadString(section, key, value, 32);
    return value;
  }

  // What a process killed at that point leaves behind.
  void LeaveBehind(Left left) {
    SwitchJournal journal;
    journal.groupVersion = 20260101;
    journal.switched = left == Left::Switched;
    for (std::size_t i = 0; i < std::size(kFiles); ++i) {
      const auto& file = kFiles[i];
      journal.files.push_back({file.id, file.name, 20260101, file.oldContent != nullptr});
      QDir().mkpath(QFileInfo(QString::fromStdString(Staged("new/") + file.name)).absolutePath());
      QDir().mkpath(QFileInfo(QString::fromStdString(Staged("old/") + file.name)).absolutePath());
      // The first file (all of them once switched) is in place, the rest staged.
      const bool moved = left == Left::Switched || (left == Left::HalfSwitched && i != 1);
      if (file.oldContent) WriteFileBytes(Staged("old/") + file.name, file.oldContent);
      if (moved) {
        QDir().mkpath(QFileInfo(QString::fromStdString(Program() + file.name)).absolutePath());
        WriteFileBytes(Program() + file.name, file.newContent);
      } else {
        WriteFileBytes(Staged("new/") + file.name, left == Left::StagedOnly ? "new pro" : file.newContent);
      }
    }
    if (left != Left::StagedOnly) WriteFileBytes(Staged("journal"), JournalText(journal));
  }

  // A cache with the signed list of the three files, all for the restart.
  void Cache() {
    std::string list = "[update_info]\ngroup_ver=20260101\nexpires=29991231\n";
    for (const auto& file : kFiles) {
      list += std::string("[") + file.id + "]\nname=" + file.name + "\nversion=20260101\nsize=" +
              std::to_string(file.newContent.size()) + "\nsha256=" + TestSha256(file.newContent) +
              "\nrestart=1\n";
      QDir().mkpath(QFileInfo(QString::fromStdString(cache.File(file.name))).absolutePath());
      WriteFileBytes(cache.File(file.name), file.newContent);
    }
    WriteFileBytes(cache.File("check_update.ini"), list);
    WriteFileBytes(cache.File("check_update.ini.sig"), server.Sign(list));
  }

  testsupport::FullDisk disk;
  testsupport::TempDir folder;
  testsupport::TempDir cache;
  UpdateServer server;
};

TEST_P(FileSwitch, LeavesTheOldProgramOrTheNewOneWholeNeverAMix) {
  const Row& row = GetParam();
  if (row.diskFull) {
    Cache();
    int result = 0;
    disk.WhileFull([&] { result = cached_update::Apply(cache.Path(), Program(), server.PublicKeyHex()); }, kRoom);
    EXPECT_EQ(result, AUTORENEW_FAILED) << disk.Kind();
  } else {
    LeaveBehind(row.left);
    ASSERT_TRUE(QFile::copy(KINOVUE_UPDATE_LIBRARY, QString::fromStdString(Program() + "libautorenew.so")));
    UpdateLoadParams params;
    params.libraryPath = Program() + "libautorenew.so";
    params.programFolder = Program();
    params.dataFolder = Program() + "dat/";
    UpdateLibrary library;
    ASSERT_TRUE(library.Load(params));  // the library finishes what was left as it loads
  }
  for (const auto& file : kFiles) {
    const bool present = row.expectNew || file.oldContent;
    EXPECT_EQ(ReadFileBytes(Program() + file.name), row.expectNew ? file.newContent : present ? file.oldContent : "")
        << file.name;
    EXPECT_EQ(QFileInfo::exists(QString::fromStdString(Program() + file.name)), present) << file.name;
    EXPECT_EQ(Version("local_version", file.id), row.expectNew ? "20260101" : "") << file.id;
  }
  EXPECT_EQ(Version("update_info", "group_ver_1"), row.expectNew ? "20260101" : "");
  EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(Program() + kSwitchFolder))) << "staging left behind";
}

INSTANTIATE_TEST_SUITE_P(Rows, FileSwitch, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
