// A check as the program runs it: the real update library, loaded by
// UpdateLibrary from a program folder of the test's own, against the
// loopback update server.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core_app.h"
#include "loopback_server.h"
#include "platform/message_window.h"
#include "settings/ini_file.h"
#include "temp_dir.h"
#include "test_certificate.h"
#include "update/update_events.h"
#include "update/update_files.h"
#include "update/update_library.h"
#include "update/update_result.h"
#include "update_server.h"

using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

namespace {

// What the worker told its owner, as the program hears it.
struct Heard : UpdateEvents {
  void OnCached(const CachedUpdatePaths& paths) override { cached.push_back(paths); }
  void OnResult(int code) override { result = code; }
  bool AskRestartNow() override {
    ++questions;
    return false;  // the restart waits for the next start
  }
  // The owner window's handler: the worker's messages go to these calls.
  platform::MessageHandler Handler() {
    return [this](unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
      return DeliverUpdateMessage(message, wParam, lParam, *this).value_or(0);
    };
  }
  std::vector<CachedUpdatePaths> cached;
  int questions = 0;
  int result = -1;
};

enum class Setup { None, SymlinkOut, NoServerList, BadServerUrl };
// How the server is reached: plain, TLS with its authority trusted, TLS
// with a certificate nobody vouches for.
enum class Scheme { Http, Https, HttpsUntrusted };

struct Row {
  const char* name;
  std::int64_t group;
  std::vector<UpdateServer::File> files;
  UpdateServer::Fault fault;
  Setup setup;
  int expectedCode;
  const char* dataAfter;     // content of "data.txt" afterwards
  const char* programAfter;  // content of "kinovue" afterwards
  bool expectCachedMessage;
  Scheme scheme = Scheme::Http;
  const char* logLine = nullptr;  // "update.log" says so
};

const std::vector<UpdateServer::File> kNewData = {{"_data_txt", "data.txt", "new data", 20260101, false}};
const std::vector<UpdateServer::File> kNewProgram = {{"_kinovue_exe", "kinovue", "#!/bin/sh\n", 20260101, true}};

const Row kRows[] = {
    {"NothingNewer", 20060728, kNewData, UpdateServer::Fault::None, Setup::None, UPDATE_RESULT_LATEST, "old data",
     "old program", false},
    {"NewerGroupButNoNewerFile", 20260101, {{"_kinovue_exe", "kinovue", "x", 20060728, true}},
     UpdateServer::Fault::None, Setup::None, UPDATE_RESULT_NOTHING_NEWER, "old data", "old program", false},
    {"NewerDataFileIsPlaced", 20260101, kNewData, UpdateServer::Fault::None, Setup::None, UPDATE_RESULT_DONE,
     "new data", "old program", false},
    {"NewerFileInNewFolder", 20260101, {{"_skin", "skins/blue.png", "png", 20260101, false}},
     UpdateServer::Fault::None, Setup::None, UPDATE_RESULT_DONE, "old data", "old program", false},
    {"NewerProgramWaitsForRestart", 20260101, kNewProgram, UpdateServer::Fault::None, Setup::None,
     UPDATE_RESULT_POSTPONED, "old data", "old program", true},
    {"TamperedFileRefused", 20260101, kNewData, UpdateServer::Fault::TamperedBody, Setup::None,
     UPDATE_RESULT_FILE_FAILED, "old data", "old program", false},
    {"WrongSizeRefused", 20260101, kNewData, UpdateServer::Fault::WrongSize, Setup::None, UPDATE_RESULT_FILE_FAILED,
     "old data", "old program", false},
    {"BadSignatureRefused", 20260101, kNewData, UpdateServer::Fault::BadSignature, Setup::None,
     UPDATE_RESULT_LIST_FAILED, "old data", "old program", false},
    {"UnsignedListRefused", 20260101, kNewData, UpdateServer::Fault::NoSignature, Setup::None,
     UPDATE_RESULT_LIST_FAILED, "old data", "old program", false},
    {"DotDotNameRefused", 20260101, {{"_evil", "../evil", "x", 20260101, false}}, UpdateServer::Fault::None,
     Setup::None, UPDATE_RESULT_LIST_FAILED, "old data", "old program", false},
    {"AbsoluteNameRefused", 20260101, {{"_evil", "/tmp/evil", "x", 20260101, false}}, UpdateServer::Fault::None,
     Setup::None, UPDATE_RESULT_LIST_FAILED, "old data", "old program", false},
    {"SymlinkOutRefusedBeforeAnythingIsPlaced", 20260101,
     {{"_data_txt", "data.txt", "new data", 20260101, false}, {"_skin", "skins/evil", "x", 20260101, false}},
     UpdateServer::Fault::None, Setup::SymlinkOut, UPDATE_RESULT_FILE_FAILED, "old data", "old program", false},
    {"NoServerList", 20260101, kNewData, UpdateServer::Fault::None, Setup::NoServerList,
     UPDATE_RESULT_NO_SERVER_LIST, "old data", "old program", false},
    {"BadServerUrl", 20260101, kNewData, UpdateServer::Fault::None, Setup::BadServerUrl,
     UPDATE_RESULT_BAD_SERVER_TEXT, "old data", "old program", false},
    // A genuine list older than this build, replayed to a copy that has no
    // versions stored yet.
    {"ReplayedOlderListRefusedOnAFreshCopy", 20240101, {{"_data_txt", "data.txt", "old list", 20240101, false}},
     UpdateServer::Fault::None, Setup::None, UPDATE_RESULT_LATEST, "old data", "old program", false},
    {"ExpiredListRefused", 20260101, kNewData, UpdateServer::Fault::Expired, Setup::None, UPDATE_RESULT_LIST_FAILED,
     "old data", "old program", false, Scheme::Http, "check file refused: the list expired on"},
    {"ListWithoutExpiryRefused", 20260101, kNewData, UpdateServer::Fault::NoExpiry, Setup::None,
     UPDATE_RESULT_LIST_FAILED, "old data", "old program", false, Scheme::Http, "no valid expiry date"},
    {"NewerDataFileOverHttps", 20260101, kNewData, UpdateServer::Fault::None, Setup::None, UPDATE_RESULT_DONE,
     "new data", "old program", false, Scheme::Https},
    {"UntrustedCertificateRefused", 20260101, kNewData, UpdateServer::Fault::None, Setup::None,
     UPDATE_RESULT_LIST_FAILED, "old data", "old program", false, Scheme::HttpsUntrusted},
};

// A program folder of the test's own with the built update and network
// libraries in it.
class UpdateProgramFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::CoreApp();
    QDir().mkpath(QString::fromStdString(program.File("dat")));
    QDir().mkpath(QString::fromStdString(outside.Path()));
    ASSERT_TRUE(QFile::copy(KINOVUE_UPDATE_LIBRARY, QString::fromStdString(program.File("libautorenew.so"))));
    ASSERT_TRUE(QFile::copy(KINOVUE_NET_MODULE, QString::fromStdString(program.File("libkinovue_net.so"))));
    WriteFileBytes(program.File("data.txt"), "old data");
    WriteFileBytes(program.File("kinovue"), "old program");
  }

  std::string Data() const { return program.File("dat") + "/"; }

  int Check(Heard& heard) {
    platform::MessageWindow owner(heard.Handler());
    UpdateLoadParams params;
    params.owner = owner.Handle();
    params.cachedMessage = WM_UPDATE_CACHED;
    params.resultMessage = WM_UPDATE_RESULT;
    params.questionMessage = WM_UPDATE_QUESTION;
    params.libraryPath = program.File("libautorenew.so");
    params.programFolder = programFolder.empty() ? program.Path() + "/" : programFolder;
    params.dataFolder = Data();
    params.publicKeyHex = server.PublicKeyHex();
    UpdateLibrary library;
    EXPECT_TRUE(library.Load(params));
    const int code = library.RunUpdate(owner.Handle(), manual);
    offered = library.OfferedVersion();
    return code;
  }

  testsupport::TempDir program;
  testsupport::TempDir outside;
  UpdateServer server;
  std::string programFolder;  // where files would go; the temporary program folder when empty
  bool manual = false;        // the user asked for the check
  std::int64_t offered = 0;   // what the last check was offered
};

class UpdateCheck : public UpdateProgramFolder, public ::testing::WithParamInterface<Row> {};

TEST_P(UpdateCheck, EndsInItsCodeAndPlacesOnlyWhatIsVerified) {
  const Row& row = GetParam();
  server.Publish(row.group, row.files, row.fault);
  update::SeedUpdateFiles(Data(), row.scheme == Scheme::Http ? server.Address() : server.SecureAddress());
  if (row.scheme == Scheme::Https) qputenv("KINOVUE_UPDATE_CA", testsupport::TestTls().authorityFile.c_str());
  if (row.setup == Setup::SymlinkOut) {
    ASSERT_TRUE(QFile::link(QString::fromStdString(outside.Path()), QString::fromStdString(program.File("skins"))));
  }
  if (row.setup == Setup::NoServerList) QFile::remove(QString::fromStdString(Data() + "UpdateServer.ini"));
  if (row.setup == Setup::BadServerUrl) {
    WriteFileBytes(Data() + "UpdateServer.ini", "[x]\nurl=ftp://127.0.0.1/kinovue/1/\nfilename=check_update.ini\n");
  }
  Heard heard;

  EXPECT_EQ(Check(heard), row.expectedCode);
  qunsetenv("KINOVUE_UPDATE_CA");

  EXPECT_EQ(ReadFileBytes(program.File("data.txt")), row.dataAfter);
  EXPECT_EQ(ReadFileBytes(program.File("kinovue")), row.programAfter);
  EXPECT_TRUE(QDir(QString::fromStdString(outside.Path())).isEmpty()) << "wrote outside the program folder";
  EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(program.Path() + "/../evil")));
  IniFile local(Data() + "UpdateLocal.ini");
  std::string group;
  local.ReadString("update_info", "group_ver_1", group, 32);
  const bool completed = row.expectedCode == UPDATE_RESULT_DONE;
  EXPECT_EQ(group, completed ? std::to_string(row.group) : "");
  if (row.logLine) {
    EXPECT_NE(ReadFileBytes(Data() + "update.log").find(row.logLine), std::string::npos);
  }
  ASSERT_EQ(heard.cached.size(), row.expectCachedMessage ? 1u : 0u);
  EXPECT_EQ(heard.questions, row.expectCachedMessage ? 1 : 0);
  if (row.expectCachedMessage) {
    EXPECT_EQ(heard.cached[0].cacheFolder, Data() + "update_cache/");
    EXPECT_EQ(heard.cached[0].targetFolder, program.Path() + "/");
    EXPECT_EQ(ReadFileBytes(Data() + "update_cache/kinovue"), "#!/bin/sh\n");
  }
  if (std::string(row.name) == "NewerFileInNewFolder") {
    EXPECT_EQ(ReadFileBytes(program.File("skins/blue.png")), "png");
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, UpdateCheck, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

// A folder nobody may write, even root: installed by a package manager. It
// never calls the server on its own; asked, it says what is offered.
TEST_F(UpdateProgramFolder, APackagedProgramAsksTheServerOnlyWhenTheUserDoes) {
  const struct {
    bool manual;
    std::int64_t offered;
    int code;
    std::string text;
  } rows[] = {
      {false, 20260101, UPDATE_RESULT_PACKAGE_MANAGED, "Kinovue 由软件包管理器安装,请通过软件包管理器更新"},
      {true, 20260101, UPDATE_RESULT_PACKAGE_OFFERED,
       "发现新版本 20260101。Kinovue 由软件包管理器安装,请通过软件包管理器更新"},
      {true, 20240101, UPDATE_RESULT_LATEST, "您当前使用的是最新版本"},
  };
  update::SeedUpdateFiles(Data(), server.Address());
  programFolder = "/proc/self/";
  for (const auto& row : rows) {
    server.Publish(row.offered, kNewData);
    manual = row.manual;
    const int before = server.Connections();
    Heard heard;
    const int code = Check(heard);
    EXPECT_EQ(code, row.code) << row.manual;
    EXPECT_EQ(UpdateResultMessage(code, offered), row.text);
    EXPECT_EQ(server.Connections() > before, row.manual) << "asked the server: " << server.Connections() - before;
    EXPECT_EQ(ReadFileBytes(program.File("data.txt")), "old data");
  }
}

// A server that sends its reply one byte at a time, far slower than any
// check may take.
testsupport::LoopbackServer::Reply Trickle() {
  testsupport::LoopbackServer::Reply reply;
  reply.pieces.push_back({0, "HTTP/1.0 200 OK\r\nContent-Length: 4000\r\n\r\n"});
  for (int i = 0; i < 4000; ++i) reply.pieces.push_back({300, "x"});
  return reply;
}

// How a check against a trickling server ends: stopped by the program as it
// quits, or by the deadline of the whole check.
struct Interruption {
  const char* name;
  int sessionMs;
  bool stopAtOnce;
};

class UpdateInterruption : public UpdateProgramFolder, public ::testing::WithParamInterface<Interruption> {};

TEST_P(UpdateInterruption, ATricklingServerHoldsNeitherTheQuitNorTheCheckForLong) {
  const Interruption& row = GetParam();
  testsupport::LoopbackServer trickling([](const std::string&) { return Trickle(); });
  update::SeedUpdateFiles(Data(), "http://" + trickling.Address());
  Heard heard;
  platform::MessageWindow owner(heard.Handler());
  UpdateLoadParams params;
  params.owner = owner.Handle();
  params.resultMessage = WM_UPDATE_RESULT;
  params.libraryPath = program.File("libautorenew.so");
  params.programFolder = program.Path() + "/";
  params.dataFolder = Data();
  params.sessionMs = row.sessionMs;
  UpdateLibrary library;
  ASSERT_TRUE(library.Load(params));
  library.StartUpdateThread();
  ASSERT_TRUE(testsupport::PumpUntil([&] { return trickling.Connections() > 0; }, 10000));
  // The whole reply would take twenty minutes.
  if (row.stopAtOnce) {
    EXPECT_TRUE(library.Stop(1000)) << "the check did not give way";
    EXPECT_EQ(heard.result, -1) << "a stopped check still reported";
  } else {
    ASSERT_TRUE(testsupport::PumpUntil([&] { return heard.result != -1; }, row.sessionMs + 5000));
    EXPECT_EQ(heard.result, UPDATE_RESULT_LIST_FAILED);
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, UpdateInterruption,
                         ::testing::Values(Interruption{"StoppedAsTheProgramQuits", kUpdateSessionMs, true},
                                           Interruption{"EndedByTheCheckDeadline", 1500, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(UpdateLibraryLoad, MissingLibraryOrExportsAreReportedWithTheirTexts) {
  testsupport::TempDir folder;
  WriteFileBytes(folder.File("libautorenew.so"), "not a library");
  const struct {
    std::string path;
    std::string text;
  } rows[] = {
      {folder.File("none.so"), "不能载入动态链接库\"" + folder.File("none.so") + "\", Error Code=2"},
      // A library without the exports: the engine library stands in.
      {KINOVUE_ENGINE_LIBRARY, std::string("在动态链接库") + KINOVUE_ENGINE_LIBRARY + "中定位函数失败"},
  };
  for (const auto& row : rows) {
    std::string shown;
    UpdateLoadParams params;
    params.libraryPath = row.path;
    params.dataFolder = folder.Path() + "/";
    params.showError = [&](const std::string& text) { shown = text; };
    UpdateLibrary library;
    EXPECT_FALSE(library.Load(params));
    EXPECT_EQ(shown, row.text);
  }
}

}  // namespace

namespace {

// The server list seeded for a server given as text: https unless asked
// otherwise, and the built-in server's old plain url moved to https.
TEST(SeedUpdateFiles, UsesHttpsUnlessAskedAndMovesTheBuiltInServerToIt) {
  const std::string builtIn = update::kUpdateServer;
  const struct {
    std::string server;
    std::string before;  // the url already there, if any
    std::string section;
    std::string url;
  } rows[] = {
      {builtIn, "", builtIn, "https://" + builtIn + "/kinovue/1/"},
      {builtIn, "http://" + builtIn + "/kinovue/1/", builtIn, "https://" + builtIn + "/kinovue/1/"},
      {"http://127.0.0.1:8080", "", "127.0.0.1", "http://127.0.0.1:8080/kinovue/1/"},
      {"mirror.example:8443", "http://mirror.example/own/", "mirror.example", "http://mirror.example/own/"},
  };
  for (const auto& row : rows) {
    testsupport::TempDir data;
    if (!row.before.empty()) IniFile(data.File("UpdateServer.ini")).WriteString(row.section, "url", row.before);
    update::SeedUpdateFiles(data.Path() + "/", row.server);
    std::string url;
    IniFile(data.File("UpdateServer.ini")).ReadString(row.section, "url", url, 4096);
    EXPECT_EQ(url, row.url) << row.server;
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(data.File("UpdateLocal.ini")))) << "a version was seeded";
  }
}

}  // namespace
