// The files a user keeps, written on a full disk and read when something
// other than a regular file lies at their place: a failed write leaves the
// old file whole and says so, and no reader waits or reads without end.
#include <gtest/gtest.h>

#include <QDir>
#include <cerrno>
#include <fcntl.h>
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
using testsupport::WriteFileBytes;

// The names in a folder, its subfolders' contents included.
std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const QString& name : QDir(QString::fromStdString(folder))
                                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System)) {
    names.push_back(name.toStdString());
    for (const std::string& inner : Names(folder + "/" + name.toStdString())) names.push_back(name.toStdString() + "/" + inner);
  }
  return names;
}

// One writer: its file under the folder, how its old content is made, and
// one more write of new content, which says whether it succeeded.
struct Writer {
  const char* name;
  const char* file;
  std::function<void(const std::string& folder)> writeOld;
  std::function<bool(const std::string& folder)> writeNew;
};

platform::UserDesktop Desktop(const std::string& folder) { return platform::UserDesktop(folder, folder + "/share"); }

std::string Log(const std::vector<std::string>& rows, const std::string& path) {
  EngineLogModel model;
  std::vector<std::string> lines = rows;
  model.AppendBatch(lines);
  return model.Export(path) ? "exported" : "failed";
}

const Writer kWriters[] = {
    {"Settings", "kinovue.ini",
     [](const std::string& f) { IniFile(f + "/kinovue.ini").WriteString("kinovue", "Volume", "40"); },
     [](const std::string& f) { return IniFile(f + "/kinovue.ini").WriteString("kinovue", "RunningHandle", "77"); }},
    {"UpdateFiles", "UpdateLocal.ini",
     [](const std::string& f) { IniFile(f + "/UpdateLocal.ini").WriteString("update_info", "group_ver_1", "20060728"); },
     [](const std::string& f) {
       return IniFile(f + "/UpdateLocal.ini").WriteStrings("update_info", {{"group_ver_1", "20260101"}});
     }},
    {"StoredPlaylist", "PlayList.dat",
     [](const std::string& f) { WritePlayListFile(f + "/PlayList.dat", {"/m/a.avi", "/m/b.avi"}); },
     [](const std::string& f) { return WritePlayListFile(f + "/PlayList.dat", {"/m/c.avi"}) == 0; }},
    {"RegistryStore", "kinovue/classes.reg",
     [](const std::string& f) {
       platform::Registry store(f + "/kinovue/classes.reg");
       store.CreateKey(".avi");
       store.SetString(".avi", "", "kinovue_0");
     },
     [](const std::string& f) {
       return platform::Registry(f + "/kinovue/classes.reg").SetString(".avi", "PrevValue", "other");
     }},
    {"MimeAppsList", "mimeapps.list",
     [](const std::string& f) { Desktop(f).ChangeDefaults({{"video/x-msvideo", "other.desktop"}}); },
     [](const std::string& f) { return Desktop(f).ChangeDefaults({{"video/x-msvideo", "kinovue.desktop"}}); }},
    {"DesktopEntry", "share/applications/kinovue-0.desktop",
     [](const std::string& f) { Desktop(f).WriteEntry("kinovue-0.desktop", "[Desktop Entry]\nName=old\n"); },
     [](const std::string& f) { return Desktop(f).WriteEntry("kinovue-0.desktop", "[Desktop Entry]\nName=new\n"); }},
    {"Icon", "share/icons/hicolor/48x48/apps/kinovue-0.png",
     [](const std::string& f) { Desktop(f).WriteIcon("kinovue-0", 48, std::string(3000, 'o')); },
     [](const std::string& f) { return Desktop(f).WriteIcon("kinovue-0", 48, std::string(5000, 'n')); }},
    {"UpdateLog", "update.log", [](const std::string& f) { AppendUpdateLog(f + "/update.log", "first line"); },
     [](const std::string& f) { return AppendUpdateLog(f + "/update.log", std::string(9000, 'x')); }},
    {"EngineOutputExport", "output.txt", [](const std::string& f) { Log({"old 1", "old 2"}, f + "/output.txt"); },
     [](const std::string& f) { return Log({"new 1", "new 2", "new 3"}, f + "/output.txt") == "exported"; }},
};

void PrintTo(const Writer& writer, std::ostream* out) { *out << writer.name; }

class KeptFileWriter : public ::testing::TestWithParam<Writer> {
 protected:
  void SetUp() override { testsupport::CoreApp(); }
};

TEST_P(KeptFileWriter, OnAFullDiskFailsAndLeavesTheOldFileWhole) {
  const Writer& writer = GetParam();
  testsupport::FullDisk disk;
  writer.writeOld(disk.Path());
  const std::string path = disk.File(writer.file);
  const std::string old = ReadFileBytes(path);
  ASSERT_FALSE(old.empty()) << "the old file was not written";
  const std::vector<std::string> before = Names(disk.Path());
  std::vector<std::pair<std::string, int>> reported;
  settings::SetSaveFailureListener([&](const std::string& file, int error) { reported.emplace_back(file, error); });

  bool written = true;
  disk.WhileFull([&] { written = writer.writeNew(disk.Path()); });

  settings::SetSaveFailureListener({});
  EXPECT_FALSE(written) << "a failed write was reported as done (" << disk.Kind() << ")";
  EXPECT_EQ(ReadFileBytes(path), old) << disk.Kind();
  EXPECT_EQ(Names(disk.Path()), before) << "a temporary file was left behind";
  // The settings files tell the program, which tells the user.
  if (std::string(writer.file).ends_with(".ini")) {
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0].first, path);
    EXPECT_TRUE(reported[0].second == ENOSPC || reported[0].second == EFBIG) << reported[0].second;
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, KeptFileWriter, ::testing::ValuesIn(kWriters),
                         [](const auto& info) { return std::string(info.param.name); });

// What may lie where a kept file belongs instead of a regular file.
enum class Stranger { Fifo, EndlessDevice, HugeFile, Folder };

void PlaceStranger(Stranger kind, const std::string& path) {
  QDir().mkpath(QString::fromStdString(path.substr(0, path.rfind('/'))));
  switch (kind) {
    case Stranger::Fifo: ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); break;
    case Stranger::EndlessDevice: ASSERT_EQ(symlink("/dev/zero", path.c_str()), 0); break;
    case Stranger::HugeFile: {
      // Sparse: larger than every reader's cap, nothing of it on the disk.
      const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
      ASSERT_GE(fd, 0);
      ASSERT_EQ(ftruncate(fd, static_cast<off_t>(platform::kMaxListFileBytes) + 1), 0);
      close(fd);
      break;
    }
    case Stranger::Folder: ASSERT_EQ(mkdir(path.c_str(), 0700), 0); break;
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
  std::function<bool(const std::string& folder)> readsSomething;
  std::function<bool(const std::string& folder)> write;
};

const Reader kReaders[] = {
    {"Settings", "kinovue.ini",
     [](const std::string& f) {
       std::string value;
       return IniFile(f + "/kinovue.ini").ReadString("kinovue", "Volume", value, 32);
     },
     [](const std::string& f) { return IniFile(f + "/kinovue.ini").WriteString("kinovue", "Volume", "40"); }},
    {"StoredPlaylist", "PlayList.dat",
     [](const std::string& f) {
       bool line = false;
       return ReadPlayListFile(f + "/PlayList.dat", [&](const std::string&) { line = true; }) || line;
     },
     nullptr},
    {"RegistryStore", "kinovue/classes.reg",
     [](const std::string& f) { return platform::Registry(f + "/kinovue/classes.reg").KeyExists(".avi"); },
     [](const std::string& f) { return platform::Registry(f + "/kinovue/classes.reg").CreateKey(".avi"); }},
    {"MimeAppsList", "mimeapps.list",
     [](const std::string& f) { return Desktop(f).DefaultApplication("video/x-msvideo").has_value(); },
     [](const std::string& f) { return Desktop(f).ChangeDefaults({{"video/x-msvideo", "kinovue.desktop"}}); }},
    {"UpdateServerList", "UpdateServer.ini",
     [](const std::string& f) {
       const std::string path = f + "/UpdateServer.ini";
       UpdateInitBlock block{};
       block.serverConfigPath = path.c_str();
       std::vector<std::string> servers;
       return UpdateSession(block, "").ServerList(servers) == AUTORENEW_OK;
     },
     nullptr},
};

void PrintTo(const Reader& reader, std::ostream* out) { *out << reader.name; }

class KeptFileReader : public ::testing::TestWithParam<std::tuple<Reader, Stranger>> {};

TEST_P(KeptFileReader, TakesOnlyARegularFileOfBoundedSizeAndNeverReplacesAStranger) {
  const auto& [reader, stranger] = GetParam();
  testsupport::TempDir folder;
  const std::string path = folder.File(reader.file);
  PlaceStranger(stranger, path);
  const auto shape = Shape(path);
  settings::SetSaveFailureListener([](const std::string&, int) {});

  // A reader that waited on the FIFO or read the device without end would
  // never come back: the test's time limit catches that.
  EXPECT_FALSE(reader.readsSomething(folder.Path()));
  if (reader.write) {
    EXPECT_FALSE(reader.write(folder.Path()));
  }

  settings::SetSaveFailureListener({});
  EXPECT_EQ(Shape(path), shape) << "what lay there was replaced or changed";
}

const char* StrangerName(Stranger kind) {
  switch (kind) {
    case Stranger::Fifo: return "Fifo";
    case Stranger::EndlessDevice: return "EndlessDevice";
    case Stranger::HugeFile: return "HugeFile";
    case Stranger::Folder: return "Folder";
  }
  return "";
}

INSTANTIATE_TEST_SUITE_P(Rows, KeptFileReader,
                         ::testing::Combine(::testing::ValuesIn(kReaders),
                                            ::testing::Values(Stranger::Fifo, Stranger::EndlessDevice,
                                                              Stranger::HugeFile, Stranger::Folder)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + StrangerName(std::get<1>(info.param));
                         });

TEST(AtomicWrite, ReplacesALinkAtTheNameAndKeepsTheOldFilesPermissions) {
  testsupport::TempDir folder;
  // A link planted at the name: the name gets the file, the target is untouched.
  const std::string target = folder.File("target");
  ASSERT_TRUE(WriteFileBytes(target, "someone else's"));
  ASSERT_EQ(symlink(target.c_str(), folder.File("kinovue.ini").c_str()), 0);
  EXPECT_EQ(platform::WriteFileAtomically(folder.File("kinovue.ini"), "mine"), 0);
  EXPECT_EQ(ReadFileBytes(target), "someone else's");
  EXPECT_TRUE(S_ISREG(Shape(folder.File("kinovue.ini")).first));
  EXPECT_EQ(ReadFileBytes(folder.File("kinovue.ini")), "mine");

  ASSERT_EQ(chmod(folder.File("kinovue.ini").c_str(), 0640), 0);
  EXPECT_EQ(platform::WriteFileAtomically(folder.File("kinovue.ini"), "again"), 0);
  EXPECT_EQ(Shape(folder.File("kinovue.ini")).first & 07777, 0640u);
  EXPECT_EQ(platform::WriteFileAtomically(folder.File("missing/kinovue.ini"), "x"), ENOENT);
}

TEST(BoundedRead, AFileThatGrowsPastTheCapIsRefused) {
  testsupport::TempDir folder;
  const std::string path = folder.File("list");
  ASSERT_TRUE(WriteFileBytes(path, std::string(100, 'a')));
  std::string bytes;
  EXPECT_EQ(platform::ReadRegularFile(path, 100, bytes), platform::FileRead::kRead);
  EXPECT_EQ(bytes.size(), 100u);
  EXPECT_EQ(platform::ReadRegularFile(path, 99, bytes), platform::FileRead::kTooLarge);
  EXPECT_TRUE(bytes.empty());
  // /proc files say they are empty and are not: the cap still holds.
  EXPECT_EQ(platform::ReadRegularFile("/proc/self/maps", 10, bytes), platform::FileRead::kTooLarge);
  EXPECT_EQ(platform::ReadRegularFile(folder.File("none"), 10, bytes), platform::FileRead::kMissing);
}

}  // namespace
