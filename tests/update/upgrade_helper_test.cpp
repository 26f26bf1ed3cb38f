// The restart path: the helper's command line, the helper's work in the
// new process, and the old process's bounded wait for it.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include "core_app.h"
#include "settings/ini_file.h"
#include "temp_dir.h"
#include "update/update_result.h"
#include "update/upgrade_helper.h"
#include "update_server.h"

using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

namespace {

TEST(HelperArguments, ParsedAsTheHelperOrAnOrdinaryStart) {
  const struct {
    const char* text;
    HelperArgumentsKind kind;
    const char* cacheFolder;
  } rows[] = {
      {"\"/home/u/My Movie.avi\"", HelperArgumentsKind::OrdinaryStart, ""},  // two quotes: a file
      {"", HelperArgumentsKind::OrdinaryStart, ""},
      {"12\"/p/dat/update_cache/\"/p/\"/p/kinovue\"", HelperArgumentsKind::Helper, "/p/dat/update_cache/"},
      {"12\"a\"b\"c\"tail", HelperArgumentsKind::Helper, "a"},  // text after the fourth quote is ignored
      {"12\"a\"b\"c", HelperArgumentsKind::OrdinaryStart, ""},  // three quotes
      {"ab\"c\"d\"e\"", HelperArgumentsKind::HandleNotDigits, ""},
      {"\"c\"d\"e\"", HelperArgumentsKind::HandleNotDigits, ""},  // no handle at all
      {"12\"a\"b\"c\"d\"", HelperArgumentsKind::TooManyQuotes, ""},
  };
  for (const auto& row : rows) {
    HelperArguments args;
    EXPECT_EQ(ParseHelperArguments(row.text, args), row.kind) << row.text;
    if (row.kind == HelperArgumentsKind::Helper) {
      EXPECT_EQ(args.cacheFolder, row.cacheFolder);
    }
  }
}

// Without the running program's note no text starts the helper or shows a
// box: a file name with quotes is a file name.
TEST(HelperArguments, OnlyTheProgramsNoteMakesATextTheHelper) {
  const std::string token(32, 'a');
  const struct {
    std::string text;
    bool note;
    const char* message;
  } rows[] = {
      {"x\"a\"b\"c\"" + token, true, "参数1必须全是数字"},
      {"1\"a\"b\"c\"d\"" + token, true, "参数错误"},
      {"1\"a\"b\"c\"d\"", false, ""},  // a media file with five quotes in its name
      {"x\"a\"b\"c\"" + token, false, ""},
      {"\"movie.avi\"", false, ""},
  };
  for (const auto& row : rows) {
    testsupport::TempDir runtime;
    if (row.note) WriteFileBytes(runtime.File("upgrade-helper-" + token), row.text);
    std::string shown;
    UpgradeHelperEnvironment environment;
    environment.runtimeFolder = runtime.Path();
    environment.showMessage = [&](const std::string& text, const std::string&) { shown = text; };
    EXPECT_FALSE(RunUpgradeHelper(row.text, environment));
    EXPECT_EQ(shown, row.message) << row.text;
  }
}

// A program folder with a postponed update of "kinovue" in its cache.
class CachedUpdate : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::CoreApp();
    QDir().mkpath(QString::fromStdString(cache()));
    ASSERT_TRUE(QFile::copy(KINOVUE_UPDATE_LIBRARY, QString::fromStdString(program.File("libautorenew.so"))));
    ASSERT_TRUE(QFile::copy(KINOVUE_NET_MODULE, QString::fromStdString(program.File("libkinovue_net.so"))));
    WriteFileBytes(program.File("kinovue"), Script("old"));
    QFile::setPermissions(QString::fromStdString(program.File("kinovue")), QFile::ReadOwner | QFile::ExeOwner);
    const std::string fresh = Script("new");
    const std::string list = "[update_info]\ngroup_ver=20260101\nexpires=29991231\n[_kinovue_exe]\nname=kinovue\nversion=20260101\nsize=" +
                             std::to_string(fresh.size()) + "\nsha256=" + TestSha256(fresh) + "\nrestart=1\n";
    WriteFileBytes(cache() + "check_update.ini", list);
    WriteFileBytes(cache() + "check_update.ini.sig", server.Sign(list));
    WriteFileBytes(cache() + "kinovue", fresh);
    IniFile(program.File("dat/UpdateLocal.ini"))
        .WriteStrings("update_info", {{"group_ver_1", "20250701"}, {"cached_update", "1"}});
  }
  std::string cache() const { return program.File("dat/update_cache/"); }
  std::string Script(const std::string& word) const {
    return "#!/bin/sh\necho " + word + " > '" + program.File("started") + "'\n";
  }

  UpgradeHelperEnvironment Environment() const {
    UpgradeHelperEnvironment environment;
    environment.runtimeFolder = runtime.Path();  // nobody waits: the helper goes on at once
    environment.publicKeyHex = server.PublicKeyHex();
    return environment;
  }
  std::string Started() const { return ReadFileBytes(program.File("started")); }

  testsupport::TempDir program;
  testsupport::TempDir runtime;
  UpdateServer server;
};

class HelperRun : public CachedUpdate, public ::testing::WithParamInterface<bool> {};

TEST_P(HelperRun, PlacesTheVerifiedProgramCleansUpAndStartsIt) {
  const bool tampered = GetParam();
  if (tampered) WriteFileBytes(cache() + "kinovue", Script("bad"));
  UpgradeHelperEnvironment environment = Environment();
  std::string shown;
  environment.showMessage = [&](const std::string& text, const std::string&) { shown = text; };
  const std::string text = PrepareHelperCommand(0, cache(), program.Path() + "/", program.File("kinovue"), runtime.Path());

  ASSERT_TRUE(RunUpgradeHelper(text, environment));
  EXPECT_FALSE(RunUpgradeHelper(text, environment)) << "a note serves once";

  const std::string expected = tampered ? "old\n" : "new\n";
  EXPECT_TRUE(testsupport::PumpUntil([&] { return ReadFileBytes(program.File("started")) == expected; }, 5000))
      << "started: " << ReadFileBytes(program.File("started"));
  // A failed placing keeps the old program and its cache, and says so.
  EXPECT_EQ(QFileInfo::exists(QString::fromStdString(cache())), tampered);
  EXPECT_EQ(shown, tampered ? kUpgradeIncompleteText : kHelperDoneText);
  IniFile local(program.File("dat/UpdateLocal.ini"));
  std::string upgraded, group, cached;
  local.ReadString("update_info", "upgraded", upgraded, 8);
  local.ReadString("update_info", "group_ver_1", group, 32);
  local.ReadString("update_info", "cached_update", cached, 8);
  EXPECT_EQ(upgraded, tampered ? "" : "1");
  EXPECT_EQ(group, tampered ? "20250701" : "20260101");
  EXPECT_EQ(cached, "0");
}

INSTANTIATE_TEST_SUITE_P(Cache, HelperRun, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Tampered" : "Intact"; });

// Folders that are not the program's own are never loaded from, placed into
// or deleted; a link to its own folder is its own folder.
TEST_F(CachedUpdate, ActsOnlyOnTheProgramsOwnFoldersAndOnlyWhenItStartedTheHelper) {
  testsupport::TempDir foreign;  // a folder of someone else's, with a library of its own
  ASSERT_TRUE(QFile::copy(KINOVUE_UPDATE_LIBRARY, QString::fromStdString(foreign.File("libautorenew.so"))));
  WriteFileBytes(foreign.File("kinovue"), "foreign");
  QDir().mkpath(QString::fromStdString(foreign.File("cache")));
  for (const char* name : {"check_update.ini", "check_update.ini.sig", "kinovue"}) {
    QFile::copy(QString::fromStdString(cache() + name), QString::fromStdString(foreign.File("cache/") + name));
  }
  QFile::link(QString::fromStdString(program.Path()), QString::fromStdString(foreign.File("link")));
  const std::string own = program.Path() + "/";
  const std::string kinovue = program.File("kinovue");
  const struct {
    const char* name;
    std::string text;  // empty: the program's command for cache and target
    std::string cache, target;
    bool helper;
    const char* started;  // the program started again, and as which
  } rows[] = {
      {"media file named like the helper", "0\"" + cache() + "\"" + own + "\"" + kinovue + "\"" + std::string(32, 'b'),
       "", "", false, ""},
      {"foreign target folder", "", cache(), foreign.Path(), true, "old\n"},
      {"foreign cache folder", "", foreign.File("cache"), own, true, "old\n"},
      {"own folder through a link", "", cache(), foreign.File("link"), true, "new\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    QFile::remove(QString::fromStdString(program.File("started")));
    const std::string text =
        row.text.empty() ? PrepareHelperCommand(0, row.cache, row.target, kinovue, runtime.Path()) : row.text;
    EXPECT_EQ(RunUpgradeHelper(text, Environment()), row.helper);
    if (row.helper) {
      EXPECT_TRUE(testsupport::PumpUntil([&] { return Started() == row.started; }, 5000))
          << Started() << ReadFileBytes(program.File("dat/update.log"));
    }
    EXPECT_EQ(ReadFileBytes(foreign.File("kinovue")), "foreign");
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(foreign.File("cache/kinovue"))));
  }
  EXPECT_EQ(ReadFileBytes(kinovue), Script("new"));
}

TEST(OwnUpdateFolders, ComparedAsRealPaths) {
  testsupport::TempDir program;
  testsupport::TempDir other;
  QDir().mkpath(QString::fromStdString(program.File("dat/update_cache")));
  QDir().mkpath(QString::fromStdString(other.File("dat/update_cache")));
  const std::string cache = program.File("dat/update_cache/");
  const struct {
    std::string cache, target;
    bool own;
  } rows[] = {
      {cache, program.Path() + "/", true},
      {program.File("dat/../dat/update_cache"), program.Path(), true},
      {cache, other.Path(), false},
      {other.File("dat/update_cache"), program.Path(), false},
      {cache, program.File("dat"), false},
      {"", "", false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(AreOwnUpdateFolders(row.cache, row.target, program.Path()), row.own) << row.cache << " " << row.target;
  }
}

TEST(LaunchHelper, WaitsForTheSignalButNeverLongerThanItsLimit) {
  testsupport::CoreApp();
  testsupport::TempDir folder;
  const std::string event = folder.Path() + "/" + kQuitEventName;
  const struct {
    const char* name;
    std::string script;  // empty: no program at all
    bool answered;
  } rows[] = {
      {"signals", "#!/bin/sh\nreadlink /proc/$$/fd/${1%%\\\"*} > '" + folder.File("handle") + "'\nprintf '%s' \"$1\" > '" +
                      folder.File("args") + "'\nprintf x > '" + event + "'\nrm -f \"$0\"\n",  // as the real helper removes its copy
       true},
      {"never signals", "#!/bin/sh\nexit 0\n", false},
      {"cannot start", "", false},
  };
  for (const auto& row : rows) {
    const std::string program = folder.File("kinovue");
    QFile::remove(QString::fromStdString(program));
    if (!row.script.empty()) WriteFileBytes(program, row.script);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(LaunchUpgradeHelper(program, "/c/", "/t/", folder.Path(), 1500), row.answered) << row.name;
    EXPECT_LT(clock.elapsed(), 4000) << row.name;
  }
  EXPECT_EQ(ReadFileBytes(folder.File("handle")), "anon_inode:[pidfd]\n");
  EXPECT_NE(ReadFileBytes(folder.File("args")).find("\"/c/\"/t/\"" + folder.File("kinovue") + "\""), std::string::npos);
}

TEST(DeleteFolderTree, RemovesEverythingBelowButNeverFollowsALink) {
  testsupport::TempDir folder;
  testsupport::TempDir outside;
  WriteFileBytes(outside.File("keep"), "x");
  QDir().mkpath(QString::fromStdString(folder.File("tree/a/b")));
  WriteFileBytes(folder.File("tree/a/b/f"), "x");
  QFile::link(QString::fromStdString(outside.Path()), QString::fromStdString(folder.File("tree/link")));
  EXPECT_TRUE(DeleteFolderTree(folder.File("tree")));
  EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(folder.File("tree"))));
  EXPECT_EQ(ReadFileBytes(outside.File("keep")), "x");
  EXPECT_FALSE(DeleteFolderTree(folder.File("missing")));
}

}  // namespace
