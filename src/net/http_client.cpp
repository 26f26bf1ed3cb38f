#include "net/http_client.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkProxy>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>

namespace net {
namespace {

thread_local int lastError = 0;

constexpr std::size_t kStatusBytes = 16;  // the part of the reply that is looked at

// Sentinel of EvaluateWait: keep waiting.
constexpr int kPending = 1;

int TimeoutMs(int timeout) {
  if (timeout < 0) return 0;
  return timeout < 1000 ? timeout * 1000 : timeout;
}

int ErrorNumber(QAbstractSocket::SocketError error) {
  switch (error) {
    case QAbstractSocket::ConnectionRefusedError: return kErrConnectionRefused;
    case QAbstractSocket::HostNotFoundError: return kErrHostNotFound;
    case QAbstractSocket::SocketTimeoutError: return kErrTimedOut;
    default: return kErrConnectionAborted;
  }
}

struct Modes {
  bool read = false;
  bool write = false;
  bool except = false;
};

// The answer a poll of the socket would give now: a WaitSocket result, or
// kPending when nothing asked for has happened yet.
int EvaluateWait(const QTcpSocket& socket, const Modes& modes) {
  const bool dead = socket.state() == QAbstractSocket::UnconnectedState;
  // The peer closing is an ordinary end (a read then gives nothing); any
  // other loss of the socket is a failure.
  const bool failed = dead && socket.error() != QAbstractSocket::RemoteHostClosedError;
  const bool readable = socket.bytesAvailable() > 0 || dead;
  // A TLS socket is of use only once the server's certificate was accepted.
  const auto* tls = qobject_cast<const QSslSocket*>(&socket);
  const bool writable = socket.state() == QAbstractSocket::ConnectedState && (!tls || tls->isEncrypted());
  if (modes.except && failed) {
    lastError = ErrorNumber(socket.error());
    return kWaitFailed;
  }
  if ((modes.read && readable) || (modes.write && writable)) {
    if (failed && socket.bytesAvailable() == 0) {
      lastError = ErrorNumber(socket.error());
      return kWaitFailed;
    }
    return kWaitReady;
  }
  // A dead socket never becomes ready: no point waiting out the time.
  if (dead) {
    lastError = failed ? ErrorNumber(socket.error()) : kErrConnectionAborted;
    return kWaitFailed;
  }
  return kPending;
}

int WaitSocketMs(QTcpSocket& socket, const Modes& modes, int timeoutMs) {
  int result = EvaluateWait(socket, modes);
  if (result != kPending) return result;
  if (timeoutMs <= 0) {
    lastError = kErrTimedOut;
    return kWaitTimedOut;
  }
  // Our own exit codes; any other result of exec() means the application is
  // quitting (and a later exec() returns at once until it has).
  constexpr int kChanged = 0x4B561;
  constexpr int kTimeUp = 0x4B562;
  QElapsedTimer clock;
  clock.start();
  QEventLoop loop;
  QTimer timer;
  timer.setSingleShot(true);
  // A coarse timer may fire up to 5 % early.
  timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer, &QTimer::timeout, &loop, [&loop] { loop.exit(kTimeUp); });
  auto recheck = [&] {
    if (EvaluateWait(socket, modes) != kPending) loop.exit(kChanged);
  };
  QObject::connect(&socket, &QIODevice::readyRead, &loop, recheck);
  QObject::connect(&socket, &QAbstractSocket::connected, &loop, recheck);
  QObject::connect(&socket, &QAbstractSocket::disconnected, &loop, recheck);
  QObject::connect(&socket, &QAbstractSocket::errorOccurred, &loop, recheck);
  QObject::connect(&socket, &QAbstractSocket::stateChanged, &loop, recheck);
  if (auto* tls = qobject_cast<QSslSocket*>(&socket)) QObject::connect(tls, &QSslSocket::encrypted, &loop, recheck);
  for (;;) {
    const qint64 left = timeoutMs - clock.elapsed();
    if (left <= 0) break;
    timer.start(static_cast<int>(left));
    const int code = loop.exec();
    if (code != kChanged && code != kTimeUp) return kWaitFailed;
    // Another handler of the same event may have taken the data already.
    result = EvaluateWait(socket, modes);
    if (result != kPending) return result;
  }
  lastError = kErrTimedOut;
  return kWaitTimedOut;
}

Modes ParseModes(const std::string& text) {
  Modes modes;
  for (char c : text) {
    if (c == 'r') modes.read = true;
    if (c == 'w') modes.write = true;
    if (c == 'e') modes.except = true;
  }
  return modes;
}

// The system's trusted certificates, and those of the PEM file named by
// KINOVUE_UPDATE_CA (a test's own authority). Peer and host name are checked.
QSslConfiguration TlsConfiguration() {
  QSslConfiguration config = QSslConfiguration::defaultConfiguration();
  config.setProtocol(QSsl::TlsV1_2OrLater);
  config.setPeerVerifyMode(QSslSocket::VerifyPeer);
  const QString extra = qEnvironmentVariable("KINOVUE_UPDATE_CA");
  if (!extra.isEmpty()) config.addCaCertificates(extra, QSsl::Pem);
  return config;
}

std::unique_ptr<QTcpSocket> ConnectTcpMs(const std::string& host, int port, int timeoutMs, bool tls = false) {
  if (!QCoreApplication::instance() || host.empty() || port <= 0 || port > 65535 ||
      (tls && !QSslSocket::supportsSsl())) {
    lastError = kErrConnectionAborted;
    return nullptr;
  }
  std::unique_ptr<QTcpSocket> socket;
  if (tls) {
    auto secure = std::make_unique<QSslSocket>();
    secure->setSslConfiguration(TlsConfiguration());
    secure->setProxy(QNetworkProxy::NoProxy);
    secure->connectToHostEncrypted(QString::fromStdString(host), static_cast<quint16>(port), QIODevice::ReadWrite,
                                   QAbstractSocket::IPv4Protocol);
    socket = std::move(secure);
  } else {
    socket = std::make_unique<QTcpSocket>();
    // Straight to the server, whatever proxy the application may have set.
    socket->setProxy(QNetworkProxy::NoProxy);
    socket->connectToHost(QString::fromStdString(host), static_cast<quint16>(port), QIODevice::ReadWrite,
                          QAbstractSocket::IPv4Protocol);
  }
  Modes modes;
  modes.write = true;
  modes.except = true;
  if (WaitSocketMs(*socket, modes, timeoutMs) != kWaitReady) {
    socket->abort();
    return nullptr;
  }
  lastError = 0;
  return socket;
}

}  // namespace

int HttpGetStatusOk(const std::string& url) { return HttpGetStatusOk(url, HttpTimeouts{}); }

int HttpGetStatusOk(const std::string& url, const HttpTimeouts& timeouts) {
  HttpTarget target;
  if (!ParseHttpUrl(url, target)) return 0;
  const std::string request = BuildHttpRequest(target);
  if (request.size() >= kHttpWorkBuffer) return 0;
  std::unique_ptr<QTcpSocket> socket = ConnectTcpMs(target.host, target.port, timeouts.connectMs, target.tls);
  if (!socket) return 0;
  socket->write(request.data(), static_cast<qint64>(request.size()));
  socket->flush();

  // The status line may come in pieces: gather its first bytes within the
  // receive time, or up to the server closing.
  std::string head;
  QElapsedTimer clock;
  clock.start();
  Modes readable;
  readable.read = true;
  while (head.size() < kStatusBytes) {
    const qint64 left = timeouts.receiveMs - clock.elapsed();
    if (left <= 0) {
      lastError = kErrTimedOut;
      break;
    }
    if (WaitSocketMs(*socket, readable, static_cast<int>(left)) != kWaitReady) break;
    const QByteArray got = socket->read(static_cast<qint64>(kStatusBytes - head.size()));
    if (got.isEmpty()) break;  // the server closed
    head.append(got.constData(), static_cast<std::size_t>(got.size()));
  }
  socket->abort();
  // The reply was looked at as a zero-terminated text.
  head.resize(std::min(head.size(), head.find('\0')));
  return head.find("200 OK") != std::string::npos ? 1 : 0;
}

std::unique_ptr<QTcpSocket> ConnectTcp(const std::string& host, int port, int timeout, bool /*nonBlocking*/) {
  return ConnectTcpMs(host, port, TimeoutMs(timeout));
}

std::unique_ptr<QTcpSocket> ConnectTarget(const HttpTarget& target, int timeoutMs) {
  return ConnectTcpMs(target.host, target.port, timeoutMs, target.tls);
}

int WaitSocket(QTcpSocket& socket, const std::string& modes, int timeout) {
  return WaitSocketMs(socket, ParseModes(modes), TimeoutMs(timeout));
}

void PumpOneMessage() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

int LastSocketError() { return lastError; }

}  // namespace net
