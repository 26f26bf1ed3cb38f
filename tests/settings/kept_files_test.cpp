// The files a user keeps, written on a full disk and read when something
// other than a regular file lies at their place: a failed write leaves the
// old file whole and says so, and no reader waits or reads without end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

#include "core_app.h"
#include "dialogs/engine_log_model.h"
#include "full_disk.h"
#include "platform/atomic_file.h"
#include "platform/bounded_file.h"
#include "platform/registry.h"
#include "platform/user_desktop.h"
#include "playlist/play_list_file.h"
#include "settings/ini_file.h"
#include "settings/save_failures.h"
#include "temp_dir.h"
#include "updatelib/update_session.h"

namespace {

using testsupport::ReadFileBytes;
using Folder = const std::string&;

std::vector<std::string> Names(Folder folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) names.push_back(entry.path());
  std::sort(names.begin(), names.end());
  return names;
}

platform::UserDesktop Desktop(Folder f) { return platform::UserDesktop(f, f + "/share"); }
platform::Registry Store(Folder f) { return platform::Registry(f + "/kinovue/classes.reg"); }

// One writer: its file, and a write of content number n (0: the old file,
// 1: the new one, larger), which says whether it succeeded.
struct Writer {
  const char* name;
  const char* file;
  std::function<bool(Folder f, int n)> write;
};

void PrintTo(const Writer& writer, std::ostream* out) { *out << writer.name; }

const Writer kWriters[] = {
    {"Settings", "kinovue.ini",
     [](Folder f, int n) { return IniFile(f + "/kinovue.ini").WriteString("kinovue", "Volume", std::to_string(n)); }},
    {"UpdateFiles", "UpdateLocal.ini",
     [](Folder f, int n) {
       return IniFile(f + "/UpdateLocal.ini").WriteStrings("update_info", {{"group_ver_1", std::to_string(n)}});
     }},
    {"StoredPlaylist", "PlayList.dat",
     [](Folder f, int n) { return WritePlayListFile(f + "/PlayList.dat", {"/m/" + std::to_string(n) + ".avi"}) == 0; }},
    {"RegistryStore", "kinovue/classes.reg",
     [](Folder f, int n) { return Store(f).CreateKey(".avi") && Store(f).SetString(".avi", "", std::to_string(n)); }},
    {"MimeAppsList", "mimeapps.list",
     [](Folder f, int n) { return Desktop(f).ChangeDefaults({{"video/x-msvideo", std::to_string(n) + ".desktop"}}); }},
    {"DesktopEntry", "share/applications/kinovue-0.desktop",
     [](Folder f, int n) { return Desktop(f).WriteEntry("kinovue-0.desktop", "Name=" + std::to_string(n) + "\n"); }},
    {"Icon", "share/icons/hicolor/48x48/apps/kinovue-0.png",
     [](Folder f, int n) { return Desktop(f).WriteIcon("kinovue-0", 48, std::string(3000 + 2000 * n, 'i')); }},
    // A line that does not fit is taken back, not left half written.
    {"UpdateLog", "update.log",
     [](Folder f, int n) { return AppendUpdateLog(f + "/update.log", std::string(1 + 9000 * n, 'x')); }},
    {"EngineOutputExport", "output.txt",
     [](Folder f, int n) {
       EngineLogModel model;
       std::vector<std::string> lines(static_cast<std::size_t>(2 + n), "line " + std::to_string(n));
       model.AppendBatch(lines);
       return model.Export(f + "/output.txt");
     }},
};

class KeptFileWriter : public ::testing::TestWithParam<Writer> {};

TEST_P(KeptFileWriter, OnAFullDiskFailsAndLeavesTheOldFileWhole) {
  testsupport::CoreApp();
  const Writer& writer = GetParam();
  testsupport::FullDisk disk;
  ASSERT_TRUE(writer.write(disk.Path(), 0));
  const std::string old = ReadFileBytes(disk.File(writer.file));
  const std::vector<std::string> before = Names(disk.Path());
  std::vector<std::pair<std::string, int>> reported;
  settings::SetSaveFailureListener([&](const std::string& file, int error) { reported.emplace_back(file, error); });

  bool written = true;
  disk.WhileFull([&] { written = writer.write(disk.Path(), 1); });

  settings::SetSaveFailureListener({});
  EXPECT_FALSE(written) << "a failed write was reported as done (" << disk.Kind() << ")";
  EXPECT_EQ(ReadFileBytes(disk.File(writer.file)), old) << disk.Kind();
  EXPECT_EQ(Names(disk.Path()), before) << "a temporary file was left behind";
  // The settings files tell the program, which tells the user.
  if (std::string(writer.file).ends_with(".ini")) {
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0].first, disk.File(writer.file));
    EXPECT_TRUE(reported[0].second == ENOSPC || reported[0].second == EFBIG) << reported[0].second;
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, KeptFileWriter, ::testing::ValuesIn(kWriters),
                         [](const auto& info) { return std::string(info.param.name); });

// What may lie where a kept file belongs instead of a regular file.
enum Stranger { kFifo, kEndlessDevice, kHugeFile, kFolder };
const char* const kStrangerNames[] = {"Fifo", "EndlessDevice", "HugeFile", "Folder"};

void PlaceStranger(Stranger kind, const std::string& path) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  switch (kind) {
    case kFifo: ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); break;
    case kEndlessDevice: ASSERT_EQ(symlink("/dev/zero", path.c_str()), 0); break;
    case kHugeFile:  // sparse: larger than every reader's cap, nothing of it on the disk
      ASSERT_TRUE(testsupport::WriteFileBytes(path, ""));
      ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(platform::kMaxListFileBytes) + 1), 0);
      break;
    case kFolder: ASSERT_TRUE(std::filesystem::create_directory(path)); break;
  }
}

// Type and size of what lies at path, without following a link.
std::pair<mode_t, off_t> Shape(const std::string& path) {
  struct stat info {};
  lstat(path.c_str(), &info);
  return {info.st_mode, info.st_size};
}

// One reader: its file, a read that must find nothing, and a write that must
// refuse to replace what it could not read (null: the reader writes nothing).
struct Reader {
  const char* name;
  const char* file;
  std::function<bool(Folder f)> readsSomething;
  std::function<bool(Folder f)> write;
};

void PrintTo(const Reader& reader, std::ostream* out) { *out << reader.name; }

const Reader kReaders[] = {
    {"Settings", "kinovue.ini",
     [](Folder f) {
       std::string value;
       return IniFile(f + "/kinovue.ini").ReadString("kinovue", "Volume", value, 32);
     },
     [](Folder f) { return IniFile(f + "/kinovue.ini").WriteString("kinovue", "Volume", "40"); }},
    {"StoredPlaylist", "PlayList.dat",
     [](Folder f) {
       bool line = false;
       return ReadPlayListFile(f + "/PlayList.dat", [&](const std::string&) { line = true; }) || line;
     },
     nullptr},
    {"RegistryStore", "kinovue/classes.reg", [](Folder f) { return Store(f).KeyExists(".avi"); },
     [](Folder f) { return Store(f).CreateKey(".avi"); }},
    {"MimeAppsList", "mimeapps.list",
     [](Folder f) { return Desktop(f).DefaultApplication("video/x-msvideo").has_value(); },
     [](Folder f) { return Desktop(f).ChangeDefaults({{"video/x-msvideo", "kinovue.desktop"}}); }},
    {"UpdateServerList", "UpdateServer.ini",
     [](Folder f) {
       const std::string path = f + "/UpdateServer.ini";
       UpdateInitBlock block{};
       block.serverConfigPath = path.c_str();
       std::vector<std::string> servers;
       return UpdateSession(block, "").ServerList(servers) == AUTORENEW_OK;
     },
     nullptr},
};

class KeptFileReader : public ::testing::TestWithParam<std::tuple<Reader, Stranger>> {};

TEST_P(KeptFileReader, TakesOnlyARegularFileOfBoundedSizeAndNeverReplacesAStranger) {
  const auto& [reader, stranger] = GetParam();
  testsupport::TempDir folder;
  PlaceStranger(stranger, folder.File(reader.file));
  const auto shape = Shape(folder.File(reader.file));
  settings::SetSaveFailureListener([](const std::string&, int) {});
  // A reader that waited on the FIFO or read the device without end would
  // never come back: the test's time limit catches that.
  EXPECT_FALSE(reader.readsSomething(folder.Path()));
  if (reader.write) {
    EXPECT_FALSE(reader.write(folder.Path()));
  }
  settings::SetSaveFailureListener({});
  EXPECT_EQ(Shape(folder.File(reader.file)), shape) << "what lay there was replaced or changed";
}

INSTANTIATE_TEST_SUITE_P(Rows, KeptFileReader,
                         ::testing::Combine(::testing::ValuesIn(kReaders),
                                            ::testing::Values(kFifo, kEndlessDevice, kHugeFile, kFolder)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + kStrangerNames[std::get<1>(info.param)];
                         });

TEST(AtomicWrite, ReplacesALinkAtTheNameAndKeepsTheOldFilesPermissions) {
  testsupport::TempDir folder;
  const std::string target = folder.File("target");
  const std::string name = folder.File("kinovue.ini");
  ASSERT_TRUE(testsupport::WriteFileBytes(target, "someone else's"));
  ASSERT_EQ(symlink(target.c_str(), name.c_str()), 0);
  EXPECT_EQ(platform::WriteFileAtomically(name, "mine"), 0);
  EXPECT_EQ(ReadFileBytes(target), "someone else's");
  EXPECT_TRUE(S_ISREG(Shape(name).first));
  ASSERT_EQ(chmod(name.c_str(), 0640), 0);
  EXPECT_EQ(platform::WriteFileAtomically(name, "again"), 0);
  EXPECT_EQ(Shape(name).first & 07777, 0640u);
  EXPECT_EQ(ReadFileBytes(name), "again");
}

TEST(BoundedRead, TheCapHoldsAlsoForAFileThatSaysItIsEmpty) {
  std::string bytes;
  // /proc files say they are empty and are not.
  EXPECT_EQ(platform::ReadRegularFile("/proc/self/maps", 10, bytes), platform::FileRead::kTooLarge);
  EXPECT_TRUE(bytes.empty());
  EXPECT_EQ(platform::ReadRegularFile("/proc/self/maps", 1 << 20, bytes), platform::FileRead::kRead);
  EXPECT_FALSE(bytes.empty());
}

}  // namespace
