// What the program decides about updates without drawing: which message
// becomes which call, what the user is told after a check, the postponed
// restart at the next start, and closing once the helper took over.
#include <gtest/gtest.h>

#include <QDir>
#include <optional>

#include "core_app.h"
#include "settings/ini_file.h"
#include "temp_dir.h"
#include "update/update_coordinator.h"
#include "update/update_library.h"
#include "update/update_result.h"

namespace {

// Every call, in order, as one line each.
struct Recorder : UpdateEvents, UpdatePrompts {
  void OnCached(const CachedUpdatePaths& paths) override {
    calls.push_back("cached " + paths.cacheFolder + "|" + paths.targetFolder);
  }
  void OnResult(int code) override { calls.push_back("result " + std::to_string(code)); }
  bool AskRestartNow() override {
    calls.push_back("ask");
    return yes;
  }
  void ShowMessage(const std::string& text, const std::string& caption, bool ownedByWindow) override {
    calls.push_back((ownedByWindow ? "window: " : "alone: ") + caption + " " + text);
  }
  std::vector<std::string> calls;
  bool yes = false;
};

TEST(DeliverUpdateMessage, EachUpdateMessageBecomesItsCallAndNothingElseDoes) {
  const CachedUpdatePaths paths{"/p/dat/update_cache/", "/p/"};
  const struct {
    const char* name;
    unsigned message;
    std::uintptr_t wParam;
    bool yes;
    std::optional<std::intptr_t> answer;
    std::vector<std::string> calls;
  } rows[] = {
      {"result", WM_UPDATE_RESULT, UPDATE_RESULT_FILE_FAILED, false, 0, {"result 6"}},
      {"restart yes", WM_UPDATE_QUESTION, 0, true, 1, {"ask"}},
      {"restart no", WM_UPDATE_QUESTION, 0, false, 0, {"ask"}},
      {"cached", WM_UPDATE_CACHED, reinterpret_cast<std::uintptr_t>(&paths), false, 0,
       {"cached /p/dat/update_cache/|/p/"}},
      {"cached without paths", WM_UPDATE_CACHED, 0, false, 0, {}},
      {"another message", 0x40a, 7, false, std::nullopt, {}},
  };
  for (const auto& row : rows) {
    Recorder events;
    events.yes = row.yes;
    EXPECT_EQ(DeliverUpdateMessage(row.message, row.wParam, 0, events), row.answer) << row.name;
    EXPECT_EQ(events.calls, row.calls) << row.name;
  }
}

class Coordinator : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::CoreApp();
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(Cache())));
    settings.SetPath(folder.File("dat/kinovue.ini"));
    setup.settingsSection = "kinovue";
    setup.updateServer = "127.0.0.1:9";
    setup.launchHelper = [this](const std::string& cache, const std::string& target) {
      helperCalls.push_back(cache + "|" + target);
      return helperAnswers;
    };
    setup.requestQuit = [this] { ++quitRequests; };
  }
  std::string Program() const { return folder.Path() + "/"; }
  std::string Cache() const { return folder.File("dat/update_cache/"); }
  std::string Setting(const std::string& key) const {
    std::string value;
    settings.ReadString("kinovue", key, value, 4096);
    return value;
  }

  testsupport::TempDir folder;
  IniFile settings;
  Recorder prompts;
  UpdateCoordinatorSetup setup;
  std::vector<std::string> helperCalls;
  bool helperAnswers = false;
  int quitRequests = 0;
};

// Only an asked check is reported, once; a helper that did not answer is
// reported even unasked.
TEST_F(Coordinator, TellsTheResultOnlyWhenAskedAndOnlyOnce) {
  const std::string caption = kUpdateResultCaption;
  const struct {
    bool asked;
    int code;
    std::vector<std::string> shown;
  } rows[] = {
      {false, UPDATE_RESULT_LATEST, {}},
      {false, UPDATE_RESULT_HELPER_FAILED, {"window: " + caption + " " + UpdateResultText(UPDATE_RESULT_HELPER_FAILED)}},
      {true, UPDATE_RESULT_LATEST, {"window: " + caption + " 您当前使用的是最新版本"}},
      {true, UPDATE_RESULT_POSTPONED, {"window: " + caption + " " + UpdateResultText(UPDATE_RESULT_POSTPONED)}},
      {true, 42, {}},
  };
  for (const auto& row : rows) {
    Recorder shown;
    UpdateCoordinator updates(setup, settings, shown);
    if (row.asked) updates.CheckNow();
    updates.OnResult(row.code);
    updates.OnResult(UPDATE_RESULT_LATEST);  // a later automatic check
    EXPECT_EQ(shown.calls, row.shown) << row.asked << " " << row.code;
    EXPECT_FALSE(updates.UpdateRunning());
  }
}

// A postponed restart is tried once at the next start, and only into this
// program's own folders.
TEST_F(Coordinator, APostponedRestartIsStartedOnceAndOnlyIntoOwnFolders) {
  testsupport::TempDir foreign;
  const struct {
    const char* name;
    bool postponed;
    bool own;
    bool answers;
    bool ends;
    bool shown;
  } rows[] = {
      {"NothingPostponed", false, true, true, false, false},
      {"ForeignFolders", true, false, true, false, false},
      {"HelperTakesOver", true, true, true, true, false},
      {"HelperSilent", true, true, false, false, true},
  };
  for (const auto& row : rows) {
    helperCalls.clear();
    helperAnswers = row.answers;
    settings.WriteStrings("kinovue", {{"UpdateFromCached", "0"}, {"UpgradeCachedDir", ""}, {"UpgradeTargetDir", ""}});
    Recorder shown;
    UpdateCoordinator updates(setup, settings, shown);
    updates.SeedUpdateFiles(Program());
    const std::string cache = row.own ? Cache() : foreign.Path() + "/";
    const std::string target = row.own ? Program() : foreign.Path() + "/";
    if (row.postponed) updates.OnCached({cache, target});

    EXPECT_EQ(updates.StartPendingUpdate(), row.ends) << row.name;
    const bool tried = row.postponed && row.own;
    EXPECT_EQ(helperCalls, tried ? std::vector<std::string>{cache + "|" + target} : std::vector<std::string>{})
        << row.name;
    const std::string silent = std::string("alone: 提示 ") + UpdateResultText(UPDATE_RESULT_HELPER_FAILED);
    EXPECT_EQ(shown.calls, row.shown ? std::vector<std::string>{silent} : std::vector<std::string>{}) << row.name;
    EXPECT_EQ(Setting("UpdateFromCached"), "0") << row.name;
    EXPECT_EQ(Setting("UpgradeCachedDir"), "") << row.name;
    EXPECT_FALSE(updates.StartPendingUpdate()) << row.name << ": tried twice";
    EXPECT_EQ(helperCalls.size(), tried ? 1u : 0u) << row.name;
  }
  EXPECT_EQ(quitRequests, 0) << "the start-up ends by itself, without closing a window";
}

// The check's restart: the window is closed only once the helper answered.
TEST_F(Coordinator, ClosesTheWindowOnlyWhenTheHelperTookOver) {
  Recorder shown;
  UpdateCoordinator updates(setup, settings, shown);
  for (const bool answers : {false, true}) {
    helperAnswers = answers;
    const int before = quitRequests;
    EXPECT_EQ(updates.LaunchHelper(Cache(), Program()), answers);
    EXPECT_EQ(quitRequests - before, answers ? 1 : 0);
  }
  EXPECT_EQ(helperCalls.size(), 2u);
}

}  // namespace
