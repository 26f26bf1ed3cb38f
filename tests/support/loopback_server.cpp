#include "loopback_server.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <future>
#include <memory>

namespace testsupport {
namespace {

constexpr int kHeadMs = 3000;    // a client that sends no whole head by then gets no answer
constexpr int kFlushMs = 30000;  // a client that reads nothing for so long is gone

std::string Answer(const std::string& status, const std::string& body = {}) {
  return "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

// Hands out TLS sockets that start their handshake as they are accepted.
class TlsServer : public QTcpServer {
 public:
  explicit TlsServer(const LoopbackServer::Tls& tls) {
    QFile certificate(QString::fromStdString(tls.certificateFile));
    QFile key(QString::fromStdString(tls.keyFile));
    if (certificate.open(QIODevice::ReadOnly)) certificate_ = QSslCertificate(&certificate, QSsl::Pem);
    if (key.open(QIODevice::ReadOnly)) key_ = QSslKey(&key, QSsl::Ec, QSsl::Pem);
  }

 protected:
  void incomingConnection(qintptr descriptor) override {
    auto* socket = new QSslSocket(this);
    socket->setSocketDescriptor(descriptor);
    socket->setLocalCertificate(certificate_);
    socket->setPrivateKey(key_);
    socket->setPeerVerifyMode(QSslSocket::VerifyNone);
    socket->startServerEncryption();
    addPendingConnection(socket);
  }

 private:
  QSslCertificate certificate_;
  QSslKey key_;
};

}  // namespace

LoopbackServer::LoopbackServer()
    : LoopbackServer([](const std::string&) { return Reply{{{0, Answer("200 OK")}}}; }) {}

LoopbackServer::LoopbackServer(std::vector<Piece> pieces, End end)
    : LoopbackServer([reply = Reply{std::move(pieces), end}](const std::string&) { return reply; }) {}

LoopbackServer::LoopbackServer(Script script) : LoopbackServer(std::move(script), Tls{}) {}

LoopbackServer::LoopbackServer(Script script, Tls tls) : script_(std::move(script)) {
  std::promise<int> port;
  std::future<int> ready = port.get_future();
  thread_ = std::thread([this, tls = std::move(tls), port = std::move(port)]() mutable {
    std::unique_ptr<QTcpServer> secure;
    if (!tls.certificateFile.empty()) secure = std::make_unique<TlsServer>(tls);
    QTcpServer plain;
    QTcpServer& server = secure ? *secure : plain;
    const bool listening = server.listen(QHostAddress::LocalHost, 0);
    port.set_value(listening ? server.serverPort() : 0);
    while (listening && !stop_) {
      if (!server.waitForNewConnection(20)) continue;
      while (QTcpSocket* socket = server.nextPendingConnection()) {
        ++connections_;
        Serve(*socket);
        delete socket;
      }
    }
  });
  port_ = ready.get();
}

LoopbackServer::~LoopbackServer() {
  stop_ = true;
  thread_.join();
}

void LoopbackServer::Serve(QTcpSocket& socket) {
  socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
  std::string head;
  QElapsedTimer clock;
  clock.start();
  while (!stop_ && head.find("\r\n\r\n") == std::string::npos && clock.elapsed() < kHeadMs &&
         socket.state() == QAbstractSocket::ConnectedState) {
    if (socket.waitForReadyRead(20)) head += socket.readAll().toStdString();
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(head);
  }
  const Reply reply = script_(head);
  for (const Piece& piece : reply.pieces) {
    if (!Pause(piece.pauseMs)) break;
    socket.write(piece.bytes.data(), static_cast<qint64>(piece.bytes.size()));
    clock.restart();
    while (!stop_ && socket.bytesToWrite() > 0 && clock.elapsed() < kFlushMs) socket.waitForBytesWritten(20);
  }
  if (reply.end == End::StaySilent) {
    while (!stop_) QThread::msleep(10);
  }
  socket.disconnectFromHost();
  if (socket.state() != QAbstractSocket::UnconnectedState) socket.waitForDisconnected(1000);
}

bool LoopbackServer::Pause(int ms) const {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < ms) {
    if (stop_) return false;
    QThread::msleep(5);
  }
  return !stop_;
}

LoopbackServer::Script LoopbackServer::Files(std::string folder) {
  return [folder = std::move(folder)](const std::string& head) {
    // "GET /<path> HTTP/1.1"
    const std::string path = head.size() > 5 ? head.substr(5, head.find(' ', 5) - 5) : std::string();
    QFile file(QString::fromStdString(folder + "/" + path));
    if (path.find("..") != std::string::npos || !file.open(QIODevice::ReadOnly)) {
      return Reply{{{0, Answer("404 Not Found")}}};
    }
    return Reply{{{0, Answer("200 OK", file.readAll().toStdString())}}};
  };
}

std::vector<std::string> LoopbackServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

std::string LoopbackServer::Request() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_.empty() ? std::string() : requests_.back();
}

int ClosedPort() {
  QTcpServer server;
  if (!server.listen(QHostAddress::LocalHost, 0)) return 0;
  const int port = server.serverPort();
  server.close();
  return port;
}

}  // namespace testsupport
