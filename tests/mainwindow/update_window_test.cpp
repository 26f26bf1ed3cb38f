// Online update as the user meets it in the window: the start-up check, the
// menu command, the result texts and the restart question, against the real
// update library and the loopback update server.
#include <gtest/gtest.h>

#include <QMessageBox>

#include "core_app.h"
#include "fake_engine.h"
#include "mainwindow/command_ids.h"
#include "mainwindow/kinovue_dlg.h"
#include "settings/ini_file.h"
#include "update/update_coordinator.h"
#include "temp_dir.h"
#include "test_window.h"
#include "update_server.h"
#include "widget_app.h"

namespace {

struct Row {
  const char* name;
  bool autoUpdate;  // the check at start instead of the menu command
  std::vector<UpdateServer::File> files;
  UpdateServer::Fault fault;
  bool answerYes;
  std::vector<std::string> shown;  // message texts in order
  bool postponed;                  // the three "kinovue" keys set
};

const std::vector<UpdateServer::File> kData = {{"_data_txt", "data.txt", "new", 20260101, false}};
const std::vector<UpdateServer::File> kProgram = {{"_kinovue_exe", "kinovue", "new program", 20260101, true}};
const std::string kLatest = "您当前使用的是最新版本";

const Row kRows[] = {
    {"StartCheckFindingNothingNewSaysNothing", true, {}, UpdateServer::Fault::None, false, {}, false},
    {"MenuCheckFindingNothingNew", false, {}, UpdateServer::Fault::None, false, {kLatest}, false},
    {"MenuCheckPlacingADataFile", false, kData, UpdateServer::Fault::None, false, {"升级成功"}, false},
    {"TamperedFile", false, kData, UpdateServer::Fault::TamperedBody, false, {"下载文件失败，请稍后再试"}, false},
    {"BadSignature", false, kData, UpdateServer::Fault::BadSignature, false, {"下载更新列表失败，请稍后再试"}, false},
    {"DotDotName", false, {{"_x", "../x", "x", 20260101, false}}, UpdateServer::Fault::None, false,
     {"下载更新列表失败，请稍后再试"}, false},
    {"NewerProgramPostponed", false, kProgram, UpdateServer::Fault::None, false,
     {"升级需要关闭\"Kinovue\"主程序,您确定立刻升级吗?",
      "您已经下载了最新版本的文件但还未更新,程序下次启动后将会自动更新"},
     true},
};

class UpdateWindow : public ::testing::TestWithParam<Row> {
 protected:
  std::string Setting(const std::string& key) {
    std::string value;
    IniFile(folder.File("dat/kinovue.ini")).ReadString("kinovue", key, value, 4096);
    return value;
  }

  testsupport::TempDir folder;
};

TEST_P(UpdateWindow, ShowsTheResultTextAndRemembersAPostponedRestart) {
  const Row& row = GetParam();
  testsupport::WidgetApp();
  UpdateServer server;
  server.Publish(row.files.empty() ? 20060728 : 20260101, row.files, row.fault);
  testsupport::WriteFileBytes(folder.File("data.txt"), "old");
  KinovueOptions options = testsupport::TestWindowOptions(folder);
  IniFile(folder.File("dat/kinovue.ini")).WriteInt("kinovue", "AutoUpdate", row.autoUpdate ? 1 : 0);

  std::vector<std::string> shown;
  options.updateServer = server.Address();
  options.updateKeyHex = server.PublicKeyHex();
  options.engineFactory = [](const std::string&) { return std::make_unique<FakeEngine>(); };
  options.drives = std::make_shared<testsupport::NoDrives>();
  options.runDialog = [&](QDialog& dialog) {
    auto* box = qobject_cast<QMessageBox*>(&dialog);
    if (!box) return int(QDialog::Rejected);
    shown.push_back(box->text().toStdString());
    return int(row.answerYes ? QMessageBox::Yes : QMessageBox::No);
  };
  CKinovueDlg dlg(std::move(options));
  ASSERT_TRUE(dlg.OnInitDialog());
  EXPECT_EQ(dlg.Updates().UpdateRunning(), row.autoUpdate);
  if (!row.autoUpdate) dlg.OnCommand(ID_CHECK_UPDATE);
  ASSERT_TRUE(testsupport::PumpUntil([&] { return !dlg.Updates().UpdateRunning(); }, 20000)) << "the check never ended";

  EXPECT_EQ(shown, row.shown);
  EXPECT_EQ(Setting("UpdateFromCached"), row.postponed ? "1" : "");
  EXPECT_EQ(Setting("UpgradeCachedDir"), row.postponed ? folder.File("dat/update_cache/") : "");
  EXPECT_EQ(Setting("UpgradeTargetDir"), row.postponed ? folder.Path() + "/" : "");
  const bool placed = std::string(row.name) == "MenuCheckPlacingADataFile";
  EXPECT_EQ(testsupport::ReadFileBytes(folder.File("data.txt")), placed ? "new" : "old");
}

INSTANTIATE_TEST_SUITE_P(Rows, UpdateWindow, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

// A settings file from elsewhere naming another folder as the update's target
// starts as usual: no helper, no box, and the keys are forgotten.
TEST_F(UpdateWindow, APostponedUpdateIntoAForeignFolderIsForgotten) {
  testsupport::WidgetApp();
  testsupport::TempDir foreign;
  KinovueOptions options = testsupport::TestWindowOptions(folder);
  IniFile(folder.File("dat/kinovue.ini"))
      .WriteStrings("kinovue", {{"AutoUpdate", "0"},
                                {"UpdateFromCached", "1"},
                                {"UpgradeCachedDir", foreign.Path()},
                                {"UpgradeTargetDir", foreign.Path()}});
  options.engineFactory = [](const std::string&) { return std::make_unique<FakeEngine>(); };
  options.drives = std::make_shared<testsupport::NoDrives>();
  std::vector<std::string> shown;
  options.runDialog = [&](QDialog& dialog) {
    if (auto* box = qobject_cast<QMessageBox*>(&dialog)) shown.push_back(box->text().toStdString());
    return int(QDialog::Rejected);
  };
  CKinovueDlg dlg(std::move(options));
  EXPECT_TRUE(dlg.OnInitDialog());
  EXPECT_EQ(shown, std::vector<std::string>{});
  EXPECT_EQ(Setting("UpdateFromCached"), "0");
  EXPECT_EQ(Setting("UpgradeTargetDir"), "");
}

}  // namespace
