// The restart-type update as a user meets it: the built program under Xvfb
// finds a newer program on the loopback update server, asks, and restarts
// through the helper now (Yes) or at the next start (No).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <iostream>

#include "core_app.h"
#include "settings/ini_file.h"
#include "temp_dir.h"
#include "test_certificate.h"
#include "test_media.h"
#include "update_server.h"
#include "xvfb.h"

namespace {

using testsupport::PumpUntil;

// How the user answers the restart question, and how the server is reached.
struct Way {
  const char* name;
  bool now;
  bool https;
};

class UpdateRestart : public ::testing::TestWithParam<Way> {
 protected:
  void SetUp() override {
    testsupport::CoreApp();
    ASSERT_TRUE(x.Running()) << "Xvfb did not start";
    ASSERT_TRUE(testsupport::CopyProgramInto(folder.Path()));
    QDir().mkpath(QString::fromStdString(runtime.Path()));
    testsupport::SkipFileTypeQuestion(folder.Path());
    // The newer program is the same build under a newer version.
    server.Publish(20260101, {{"_kinovue_exe", "kinovue", testsupport::ReadFileBytes(KINOVUE_PROGRAM), 20260101, true}});
  }
  void TearDown() override {
    // Everything left on the private display: the restarted program, a helper's box.
    for (const std::string& pid : Lines(Sh("for w in $(xdotool search --name . 2>/dev/null); do xdotool getwindowpid $w 2>/dev/null; done | sort -u"))) {
      if (!pid.empty() && pid != std::to_string(QCoreApplication::applicationPid())) Sh("kill " + pid);
    }
    if (player && player->state() != QProcess::NotRunning) {
      player->kill();
      player->waitForFinished(3000);
    }
  }
  static std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (const QString& line : QString::fromStdString(text).split('\n', Qt::SkipEmptyParts)) lines.push_back(line.toStdString());
    return lines;
  }
  void Start() {
    player = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", QString::fromStdString(x.Display()));
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.Path()));
    // The helper's copy goes to a temporary folder of this test's own, so a
    // test running beside it cannot count it.
    env.insert("TMPDIR", QString::fromStdString(temp.Path()));
    env.insert("KINOVUE_STATS_SERVER", "127.0.0.1:9");
    env.insert("KINOVUE_UPDATE_SERVER",
               QString::fromStdString(GetParam().https ? server.SecureAddress() : server.Address()));
    env.insert("KINOVUE_UPDATE_CA", QString::fromStdString(testsupport::TestTls().authorityFile));
    env.insert("KINOVUE_UPDATE_KEY", QString::fromStdString(server.PublicKeyHex()));
    env.remove("QT_QPA_PLATFORM");
    player->setProcessEnvironment(env);
    player->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    player->start(QString::fromStdString(folder.File("kinovue")), {});
    player->waitForStarted(5000);
  }
  std::string Sh(const std::string& command) { return testsupport::RunWithDisplay(x.Display(), command, 10000); }
  // A visible window whose title matches pattern, while the server keeps serving.
  std::string WaitWindow(const std::string& pattern, int timeoutMs = 20000) {
    std::string window;
    PumpUntil([&] {
      window = Sh("xdotool search --onlyvisible --name '" + pattern + "' 2>/dev/null | head -n 1");
      return !window.empty();
    }, timeoutMs);
    if (window.empty()) std::cerr << "no window; the X server: " << x.Health() << "\n";
    return window;
  }
  std::string Local(const std::string& key) {
    std::string value;
    IniFile(folder.File("dat/UpdateLocal.ini")).ReadString("update_info", key, value, 64);
    return value;
  }
  std::string Setting(const std::string& key) {
    std::string value;
    IniFile(folder.File("dat/kinovue.ini")).ReadString("kinovue", key, value, 4096);
    return value;
  }
  // Copies of the program in the temporary folder (other tests' files there
  // have other sizes).
  std::vector<std::string> HelperCopies() const {
    std::vector<std::string> copies;
    const qint64 size = QFileInfo(KINOVUE_PROGRAM).size();
    for (const QFileInfo& file : QDir(QString::fromStdString(temp.Path())).entryInfoList({"Del*"}, QDir::Files)) {
      if (file.size() == size) copies.push_back(file.fileName().toStdString());
    }
    return copies;
  }

  testsupport::Xvfb x;
  testsupport::TempDir folder;
  testsupport::TempDir runtime;
  testsupport::TempDir temp;
  UpdateServer server;
  std::unique_ptr<QProcess> player;
};

TEST_P(UpdateRestart, RestartsThroughTheHelperAndLeavesNothingBehind) {
  const bool now = GetParam().now;
  const auto copiesBefore = HelperCopies();
  Start();
  // A check and a restart question under a race checker take their time.
  const std::string question = WaitWindow("^升级更新$", 60000);
  ASSERT_FALSE(question.empty()) << "no restart question";
  if (now) {
    Sh("xdotool windowfocus --sync " + question + " key Return");  // Yes is the default button
  } else {
    Sh("xdotool windowfocus --sync " + question + " key Escape");  // No
    ASSERT_TRUE(PumpUntil([&] { return Setting("UpdateFromCached") == "1"; }, 10000));
    EXPECT_EQ(Setting("UpgradeCachedDir"), folder.File("dat/update_cache/"));
    EXPECT_EQ(Setting("UpgradeTargetDir"), folder.Path() + "/");
    player->kill();
    player->waitForFinished(5000);
    Start();  // the next start performs the update
  }
  ASSERT_TRUE(PumpUntil([&] { return player->state() == QProcess::NotRunning; }, 15000)) << "the old process stayed";
  EXPECT_FALSE(WaitWindow("^Kinovue").empty()) << "Kinovue did not start again";
  EXPECT_TRUE(PumpUntil([&] { return Local("upgraded") == "1"; }, 10000));
  EXPECT_EQ(Local("group_ver_1"), "20260101");
  EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(folder.File("dat/update_cache"))));
  EXPECT_TRUE(PumpUntil([&] { return HelperCopies() == copiesBefore; }, 10000)) << "a helper copy was left";
  EXPECT_EQ(Setting("UpdateFromCached"), now ? "" : "0");
}

INSTANTIATE_TEST_SUITE_P(Answer, UpdateRestart,
                         ::testing::Values(Way{"YesRestartsNow", true, false}, Way{"NoRestartsAtNextStart", false, false},
                                           Way{"YesRestartsNowOverHttps", true, true},
                                           Way{"NoRestartsAtNextStartOverHttps", false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
