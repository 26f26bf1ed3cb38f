#include "app/kinovue_app.h"

#include <gtest/gtest.h>

#include <optional>

#include "loopback_server.h"
#include "widget_app.h"

namespace {

class KinovueApp : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::WidgetApp();
    server_.emplace();
    saved_ = qgetenv("KINOVUE_STATS_SERVER");
    qputenv("KINOVUE_STATS_SERVER", QByteArray::fromStdString(server_->Address()));
  }
  void TearDown() override {
    if (saved_.isNull()) qunsetenv("KINOVUE_STATS_SERVER");
    if (!saved_.isNull()) qputenv("KINOVUE_STATS_SERVER", saved_);
  }

  int Start(const std::string& commandLine) {
    char name[] = "kinovue";
    char* argv[] = {name, nullptr};
    CKinovueApp app(1, argv);
    return app.InitInstance(commandLine, [this](const std::string& text) {
      windowRuns_.push_back(text);
      return 7;
    });
  }

  std::optional<testsupport::LoopbackServer> server_;
  QByteArray saved_;
  std::vector<std::string> windowRuns_;
};

TEST_F(KinovueApp, PingModesSendTheirNoticeAndEndWithoutAWindow) {
  EXPECT_EQ(Start("-remove"), 0);
  EXPECT_TRUE(windowRuns_.empty());
  ASSERT_EQ(server_->Requests().size(), 1u);
  EXPECT_NE(server_->Requests()[0].find("act=remove HTTP/1.1\r\n"), std::string::npos) << server_->Requests()[0];
}

TEST_F(KinovueApp, AnyOtherTextRunsTheMainWindowWithIt) {
  EXPECT_EQ(Start("\"/m/My Movie.avi\""), 7);
  EXPECT_EQ(Start("-install now"), 7);
  EXPECT_EQ(Start(""), 7);
  EXPECT_EQ(windowRuns_, (std::vector<std::string>{"\"/m/My Movie.avi\"", "-install now", ""}));
  EXPECT_TRUE(server_->Requests().empty());
}

}  // namespace
