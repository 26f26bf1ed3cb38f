#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTimer>
#include <string>

#include "core_app.h"
#include "net/http_client.h"
#include "loopback_server.h"

namespace {

using net::HttpTarget;
using testsupport::ClosedPort;
using testsupport::LoopbackServer;
using End = LoopbackServer::End;

std::string Url(int port, const std::string& path = "statistics.php?name=kinovue&ver=1.0.1008&act=install") {
  return "http://127.0.0.1:" + std::to_string(port) + "/" + path;
}

class HttpTest : public ::testing::Test {
 protected:
  void SetUp() override { testsupport::CoreApp(); }
};

// ---- url and request

TEST(HttpUrl, HostNameAndPathWithQuery) {
  HttpTarget target;
  ASSERT_TRUE(net::ParseHttpUrl("http://stats.example.com/a/b?x=1", target));
  EXPECT_EQ(target.host, "stats.example.com");
  EXPECT_EQ(target.port, 80);
  EXPECT_EQ(target.path, "a/b?x=1");
  EXPECT_FALSE(target.literalAddress);
  HttpTarget same;
  ASSERT_TRUE(net::ParseHttpUrl("junk http://stats.example.com/a/b?x=1", same));  // all before the prefix goes
  EXPECT_EQ(same.host + same.path, target.host + target.path);
  EXPECT_EQ(net::BuildHttpRequest(target),
            "GET /a/b?x=1 HTTP/1.1\r\nConnection: Close\r\nHost: stats.example.com\r\nPragma: no-cache\r\n"
            "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, image/png, */*\r\n"
            "Accept-Language: en\r\nAccept-Charset: iso-8859-1,*,utf-8\r\n\r\n");
}

TEST(HttpUrl, DottedAddressWithPortSendsNoHostHeader) {
  HttpTarget target;
  ASSERT_TRUE(net::ParseHttpUrl("http://10.0.0.1:8080/ping", target));
  EXPECT_EQ(target.host, "10.0.0.1");
  EXPECT_EQ(target.port, 8080);
  EXPECT_TRUE(target.literalAddress);
  EXPECT_EQ(net::BuildHttpRequest(target),
            "GET /ping HTTP/1.1\r\nConnection: Close\r\nPragma: no-cache\r\n"
            "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, image/png, */*\r\n"
            "Accept-Language: en\r\nAccept-Charset: iso-8859-1,*,utf-8\r\n\r\n");
}

// Which hosts count as addresses (no Host header), in the forms Qt's address
// parser used to decide this read.
TEST(HttpUrl, NumericAddressForms) {
  const struct {
    const char* host;
    bool numeric;
  } rows[] = {{"127.0.0.1", true},     {"127.1", true},       {"0x7f.0.0.1", true},   {"0177.0.0.1", true},
              {"+1.2.3.4", true},      {"4294967295", true},  {"1.16777215", true},   {"1.2.65535", true},
              {"1.2.3.256", false},    {"4294967296", false}, {"1.16777216", false},  {"1.2.65536", false},
              {"1.2.3.4.5", false},    {"1.2.3.", false},     {"1..2", false},        {"08.1.1.1", false},
              {"0x", false},           {"localhost", false},  {"1.2.3.4a", false},    {"", false}};
  for (const auto& row : rows) EXPECT_EQ(net::IsNumericIPv4(row.host), row.numeric) << row.host;
}

TEST(HttpUrl, PortRules) {
  HttpTarget target;
  for (const char* url : {"h:0/x", "h:/x", "h:-8/x", "h:abc/x", "h/x"}) {
    ASSERT_TRUE(net::ParseHttpUrl(url, target)) << url;
    EXPECT_EQ(target.host, "h") << url;
    EXPECT_EQ(target.port, 80) << url;
  }
  ASSERT_TRUE(net::ParseHttpUrl("h: 8081x/x", target));  // leading number, as atoi
  EXPECT_EQ(target.port, 8081);
  EXPECT_FALSE(net::ParseHttpUrl("h:65536/x", target));
  EXPECT_FALSE(net::ParseHttpUrl("h:99999999999999999999/x", target));
}

TEST(HttpUrl, RejectedWithoutSlashEmptyHostOrOverLimits) {
  HttpTarget target;
  EXPECT_FALSE(net::ParseHttpUrl("http://stats.example.com", target));
  EXPECT_FALSE(net::ParseHttpUrl("http:///x", target));
  EXPECT_FALSE(net::ParseHttpUrl("http://:8080/x", target));
  EXPECT_TRUE(net::ParseHttpUrl(std::string(259, 'h') + "/" + std::string(259, 'p'), target));
  EXPECT_FALSE(net::ParseHttpUrl(std::string(260, 'h') + "/p", target));
  EXPECT_FALSE(net::ParseHttpUrl("h/" + std::string(260, 'p'), target));
}

TEST(HttpUrl, LineBreaksSpacesAndControlBytesCannotShapeTheRequest) {
  HttpTarget target;
  for (const char* url : {"http://h/a b", "http://h/a\r\nX-Evil: 1", "http://h\r\nX: 1/p", "http://h/\x01",
                          "http://h/\x7f"}) {
    EXPECT_FALSE(net::ParseHttpUrl(url, target)) << url;
  }
  ASSERT_TRUE(net::ParseHttpUrl(std::string("http://h/p\0 evil", 16), target));  // the url ends at its NUL
  EXPECT_EQ(target.path, "p");
}

// ---- against a real server

TEST_F(HttpTest, OkStatusLineIsSuccessAndTheRequestIsSentWhole) {
  LoopbackServer server({{0, "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n"}}, End::Close);
  EXPECT_EQ(net::HttpGetStatusOk(Url(server.Port(), "a/b?x=1")), 1);
  HttpTarget target;
  ASSERT_TRUE(net::ParseHttpUrl(Url(server.Port(), "a/b?x=1"), target));
  EXPECT_EQ(server.Request(), net::BuildHttpRequest(target));
  EXPECT_EQ(server.Request().find("Host:"), std::string::npos);
}

TEST_F(HttpTest, HostNameIsLookedUpAndNamedInTheRequest) {
  LoopbackServer server({{0, "HTTP/1.1 200 OK\r\n\r\n"}}, End::Close);
  EXPECT_EQ(net::HttpGetStatusOk("http://localhost:" + std::to_string(server.Port()) + "/p"), 1);
  EXPECT_NE(server.Request().find("\r\nHost: localhost\r\n"), std::string::npos) << server.Request();
}

TEST_F(HttpTest, OnlyAnOkStatusWithinTheFirstSixteenBytesIsSuccess) {
  const struct {
    std::vector<LoopbackServer::Piece> reply;
    int ok;
  } rows[] = {
      {{{0, "HTTP/1.0 200 OK\r\n\r\n"}}, 1},
      {{{0, "HTTP/1.1 404 Not Found\r\n\r\n200 OK"}}, 0},
      {{{0, "HTTP/1.1 500 200 OK\r\n\r\n"}}, 0},  // "200 OK" past byte 16
      {{{0, "HTTP/1.1  200 OK\r\n\r\n"}}, 1},     // bytes 10 to 15
      {{{0, "HTTP/1.1   200 OK\r\n\r\n"}}, 0},    // bytes 11 to 16
      {{{0, "HTTP/1."}, {80, "1 20"}, {80, "0 O"}, {80, "K\r\n\r\n"}}, 1},  // gathered across packets
      {{{0, "200 O"}}, 0},  // a short reply, then the close
  };
  for (const auto& row : rows) {
    LoopbackServer server(row.reply, End::Close);
    EXPECT_EQ(net::HttpGetStatusOk(Url(server.Port())), row.ok) << row.reply[0].bytes;
  }
}

TEST_F(HttpTest, ServerClosingWithoutAnswerFailsAtOnce) {
  LoopbackServer server({}, End::Close);
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(net::HttpGetStatusOk(Url(server.Port())), 0);
  EXPECT_LT(clock.elapsed(), 5000);
  EXPECT_EQ(server.Connections(), 1);
}

TEST_F(HttpTest, SilentServerEndsWithinTheReceiveTime) {
  LoopbackServer server({}, End::StaySilent);
  net::HttpTimeouts timeouts;
  timeouts.receiveMs = 1200;
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(net::HttpGetStatusOk(Url(server.Port()), timeouts), 0);
  EXPECT_GE(clock.elapsed(), 1100);
  EXPECT_LT(clock.elapsed(), 4000);
  EXPECT_EQ(net::LastSocketError(), net::kErrTimedOut);
}

TEST_F(HttpTest, SilentServerWithTheProgramsTimeoutsEndsAfterTenSeconds) {
  LoopbackServer server({{0, "HTTP/1.1"}}, End::StaySilent);  // half a status line, then nothing
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(net::HttpGetStatusOk(Url(server.Port())), 0);
  EXPECT_GE(clock.elapsed(), 9900);
  EXPECT_LT(clock.elapsed(), 13000);
}

TEST_F(HttpTest, ClosedPortIsRefusedQuickly) {
  const int port = ClosedPort();
  ASSERT_NE(port, 0);
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(net::HttpGetStatusOk(Url(port)), 0);
  EXPECT_EQ(net::ConnectTcp("127.0.0.1", port, 10000, false), nullptr);
  EXPECT_EQ(net::LastSocketError(), net::kErrConnectionRefused);
  EXPECT_LT(clock.elapsed(), 3000);
}

TEST_F(HttpTest, UrlWithoutPathOpensNoConnection) {
  LoopbackServer server({{0, "HTTP/1.1 200 OK\r\n\r\n"}}, End::Close);
  EXPECT_EQ(net::HttpGetStatusOk("http://127.0.0.1:" + std::to_string(server.Port())), 0);
  testsupport::PumpUntil([] { return false; }, 200);
  EXPECT_EQ(server.Connections(), 0);
}

TEST_F(HttpTest, EventsKeepRunningWhileWaiting) {
  LoopbackServer server({{600, "HTTP/1.1 200 OK\r\n\r\n"}}, End::Close);
  QElapsedTimer clock;
  clock.start();
  qint64 firedAt = -1;
  QTimer::singleShot(100, [&] { firedAt = clock.elapsed(); });
  EXPECT_EQ(net::HttpGetStatusOk(Url(server.Port())), 1);
  EXPECT_GE(firedAt, 0);
  EXPECT_LT(firedAt, 500);  // during the request, not after it
  EXPECT_GE(clock.elapsed(), 550);
}

TEST_F(HttpTest, NestedRequestFromAnEventDuringAWaitIsIndependent) {
  LoopbackServer slow({{500, "HTTP/1.1 404 Not Found\r\n\r\n"}}, End::Close);
  LoopbackServer fast({{0, "HTTP/1.1 200 OK\r\n\r\n"}}, End::Close);
  int inner = -1;
  QTimer::singleShot(50, [&] { inner = net::HttpGetStatusOk(Url(fast.Port())); });
  EXPECT_EQ(net::HttpGetStatusOk(Url(slow.Port())), 0);
  EXPECT_EQ(inner, 1);
}

// ---- the waiting primitives

TEST_F(HttpTest, WaitTimeoutBelowThousandIsInSeconds) {
  LoopbackServer server({}, End::StaySilent);
  auto socket = net::ConnectTcp("127.0.0.1", server.Port(), 5, false);
  ASSERT_NE(socket, nullptr);
  EXPECT_EQ(net::WaitSocket(*socket, "w", 1), net::kWaitReady);
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(net::WaitSocket(*socket, "r", 1), net::kWaitTimedOut);
  EXPECT_GE(clock.elapsed(), 950);
  EXPECT_LT(clock.elapsed(), 3000);
  EXPECT_EQ(net::LastSocketError(), net::kErrTimedOut);
}

TEST_F(HttpTest, WaitOnAClosedSocketFailsInsteadOfWaiting) {
  LoopbackServer server({}, End::Close);
  auto socket = net::ConnectTcp("localhost", server.Port(), 5000, true);
  ASSERT_NE(socket, nullptr);
  socket->write("GET / HTTP/1.1\r\n\r\n");
  QElapsedTimer clock;
  clock.start();
  // The peer's close makes the socket readable (a read gives nothing) ...
  EXPECT_EQ(net::WaitSocket(*socket, "r", 5000), net::kWaitReady);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return socket->state() == QAbstractSocket::UnconnectedState; }, 3000));
  // ... and never writable again.
  EXPECT_EQ(net::WaitSocket(*socket, "w", 5000), net::kWaitFailed);
  EXPECT_LT(clock.elapsed(), 4000);
}

TEST_F(HttpTest, QuitDuringAWaitEndsItAndTheApplicationStillQuits) {
  LoopbackServer server({}, End::StaySilent);
  auto socket = net::ConnectTcp("127.0.0.1", server.Port(), 5000, false);
  ASSERT_NE(socket, nullptr);
  int result = 1234;
  qint64 waited = -1;
  QTimer::singleShot(0, [&] {
    QElapsedTimer clock;
    clock.start();
    result = net::WaitSocket(*socket, "r", 8000);
    waited = clock.elapsed();
  });
  QTimer::singleShot(200, [] { QCoreApplication::quit(); });
  QTimer::singleShot(15000, [] { QCoreApplication::exit(1); });  // a guard, should the wait swallow the quit
  EXPECT_EQ(QCoreApplication::exec(), 0);
  EXPECT_EQ(result, net::kWaitFailed);
  EXPECT_GE(waited, 0);
  EXPECT_LT(waited, 3000);
}

}  // namespace
