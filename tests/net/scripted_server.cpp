#include "scripted_server.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <future>

namespace {
constexpr int kLifeMs = 60000;  // no test server outlives this
}

ScriptedServer::ScriptedServer(std::vector<Piece> reply, End end) : reply_(std::move(reply)), end_(end) {
  std::promise<int> port;
  std::future<int> ready = port.get_future();
  thread_ = std::thread([this, port = std::move(port)]() mutable {
    QTcpServer server;
    const bool listening = server.listen(QHostAddress::LocalHost, 0);
    port.set_value(listening ? server.serverPort() : 0);
    if (!listening) return;
    QElapsedTimer life;
    life.start();
    while (!stop_ && life.elapsed() < kLifeMs && !server.waitForNewConnection(20)) {
    }
    QTcpSocket* socket = server.nextPendingConnection();
    if (!socket) return;
    ++connections_;
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    std::string head;
    QElapsedTimer reading;
    reading.start();
    while (!stop_ && head.find("\r\n\r\n") == std::string::npos && reading.elapsed() < 3000) {
      if (socket->waitForReadyRead(20)) head += socket->readAll().toStdString();
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      request_ = head;
    }
    for (const Piece& piece : reply_) {
      if (!Pause(piece.pauseMs)) break;
      socket->write(piece.bytes.data(), static_cast<qint64>(piece.bytes.size()));
      socket->waitForBytesWritten(1000);
    }
    if (end_ == End::StaySilent) {
      while (!stop_ && life.elapsed() < kLifeMs) QThread::msleep(10);
    }
    socket->disconnectFromHost();
    if (socket->state() != QAbstractSocket::UnconnectedState) socket->waitForDisconnected(1000);
    delete socket;
  });
  port_ = ready.get();
}

ScriptedServer::~ScriptedServer() {
  stop_ = true;
  thread_.join();
}

bool ScriptedServer::Pause(int ms) const {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < ms) {
    if (stop_) return false;
    QThread::msleep(5);
  }
  return !stop_;
}

std::string ScriptedServer::Request() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return request_;
}

int ClosedPort() {
  QTcpServer server;
  if (!server.listen(QHostAddress::LocalHost, 0)) return 0;
  const int port = server.serverPort();
  server.close();
  return port;
}
