#include "app/install_ping.h"

#include <gtest/gtest.h>

#include "core_app.h"
#include "loopback_server.h"
#include "temp_dir.h"

namespace {

class InstallPing : public ::testing::Test {
 protected:
  void SetUp() override { testsupport::CoreApp(); }
};

std::string Head(const std::string& path) {
  return "GET " + path + " HTTP/1.1\r\nConnection: Close\r\nHost: localhost\r\n";
}

TEST_F(InstallPing, ModesSendTheirRequestToTheServer) {
  testsupport::LoopbackServer server;
  ASSERT_TRUE(app::SendModePing("-install", server.Address(), KINOVUE_NET_MODULE));
  ASSERT_TRUE(app::SendModePing("-remove", server.Address(), KINOVUE_NET_MODULE));
  EXPECT_FALSE(app::SendModePing("movie.avi", server.Address(), KINOVUE_NET_MODULE));
  ASSERT_EQ(server.Requests().size(), 2u);
  EXPECT_EQ(server.Requests()[0].rfind(Head("/statistics.php?name=kinovue&ver=1.0.1008&act=install"), 0), 0u)
      << server.Requests()[0];
  EXPECT_EQ(server.Requests()[1].rfind(Head("/statistics.php?name=kinovue&ver=1.0.1008&act=remove"), 0), 0u)
      << server.Requests()[1];
}

// A broken installation still ends the mode at once, without a request and
// without a crash.
TEST_F(InstallPing, ModesWithoutAUsableNetworkModuleSendNothing) {
  testsupport::TempDir folder;
  ASSERT_TRUE(testsupport::WriteFileBytes(folder.File("libkinovue_net.so"), "not a library\n"));
  testsupport::LoopbackServer server;
  for (const std::string& path : {std::string("libkinovue_net.so"), std::string(""), folder.File("missing.so"),
                                  folder.File("libkinovue_net.so"), std::string(KINOVUE_ENGINE_LIBRARY)}) {
    EXPECT_TRUE(app::SendModePing("-install", server.Address(), path)) << path;
  }
  EXPECT_TRUE(server.Requests().empty());
}

TEST(StatisticsServer, EnvironmentChoosesAWellFormedServer) {
  const QByteArray saved = qgetenv("KINOVUE_STATS_SERVER");
  qunsetenv("KINOVUE_STATS_SERVER");
  EXPECT_EQ(app::StatisticsServer(), "stats.kinovue.example.com");
  qputenv("KINOVUE_STATS_SERVER", "127.0.0.1:8080");
  EXPECT_EQ(app::StatisticsServer(), "127.0.0.1:8080");
  for (const char* bad : {"evil.example/x?", "a b", "x\r\nHost: y", "user@host", ""}) {
    qputenv("KINOVUE_STATS_SERVER", bad);
    EXPECT_EQ(app::StatisticsServer(), "stats.kinovue.example.com") << bad;
  }
  if (saved.isNull()) qunsetenv("KINOVUE_STATS_SERVER");
  if (!saved.isNull()) qputenv("KINOVUE_STATS_SERVER", saved);
}

}  // namespace
