#include "net/http_download.h"

#include <QElapsedTimer>
#include <QTcpSocket>

namespace net {
namespace {

constexpr std::size_t kMaxHead = 16 * 1024;

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::string Trim(const std::string& text) {
  std::size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return {};
  return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

// -1: no Content-Length; -2: one that is not a number.
long long ContentLength(const std::string& head) {
  std::size_t start = head.find("\r\n");
  long long length = -1;
  while (start != std::string::npos && start + 2 < head.size()) {
    start += 2;
    const std::size_t end = head.find("\r\n", start);
    const std::string line = head.substr(start, end == std::string::npos ? std::string::npos : end - start);
    const std::size_t colon = line.find(':');
    if (colon != std::string::npos && Lower(Trim(line.substr(0, colon))) == "content-length") {
      const std::string value = Trim(line.substr(colon + 1));
      if (value.empty() || value.size() > 15 || value.find_first_not_of("0123456789") != std::string::npos) return -2;
      length = std::stoll(value);
    }
    start = end;
  }
  return length;
}

bool IsChunked(const std::string& head) {
  return Lower(head).find("\r\ntransfer-encoding: chunked") != std::string::npos;
}

}  // namespace

bool ParseHttpReply(const std::string& raw, HttpReply& reply) {
  const std::size_t headEnd = raw.find("\r\n\r\n");
  if (headEnd == std::string::npos || headEnd > kMaxHead) return false;
  const std::string head = raw.substr(0, headEnd + 2);
  // "HTTP/1.x NNN"
  if (head.size() < 12 || head.compare(0, 7, "HTTP/1.") != 0 || head[8] != ' ') return false;
  int status = 0;
  for (std::size_t i = 9; i < 12; ++i) {
    if (head[i] < '0' || head[i] > '9') return false;
    status = status * 10 + (head[i] - '0');
  }
  if (head.size() > 12 && head[12] != ' ' && head[12] != '\r') return false;
  const long long length = ContentLength(head);
  if (length == -2) return false;
  reply.status = status;
  reply.chunked = IsChunked(head);
  reply.body = raw.substr(headEnd + 4);
  if (length >= 0 && reply.body.size() > static_cast<unsigned long long>(length)) {
    reply.body.resize(static_cast<std::size_t>(length));
  }
  return true;
}

bool HttpDownload(const std::string& url, std::size_t maxBody, HttpReply& reply, const HttpTimeouts& timeouts,
                  int totalMs) {
  HttpTarget target;
  if (!ParseHttpUrl(url, target)) return false;
  std::unique_ptr<QTcpSocket> socket = ConnectTarget(target, timeouts.connectMs);
  if (!socket) return false;
  const std::string request = BuildHttpRequest(target);
  socket->write(request.data(), static_cast<qint64>(request.size()));
  socket->flush();

  std::string raw;
  QElapsedTimer clock;
  clock.start();
  long long expected = -1;  // head + body, once the head is known
  const std::size_t limit = kMaxHead + 4 + maxBody;
  for (;;) {
    if (expected >= 0 && raw.size() >= static_cast<unsigned long long>(expected)) break;
    const qint64 left = totalMs - clock.elapsed();
    if (left <= 0) return false;
    const int wait = static_cast<int>(std::min<qint64>(left, timeouts.receiveMs));
    if (WaitSocket(*socket, "r", wait >= 1000 ? wait : 1000) != kWaitReady) return false;
    const QByteArray got = socket->readAll();
    if (got.isEmpty()) break;  // the server closed: the reply is complete
    raw.append(got.constData(), static_cast<std::size_t>(got.size()));
    if (raw.size() > limit) return false;
    if (expected < 0) {
      const std::size_t headEnd = raw.find("\r\n\r\n");
      if (headEnd != std::string::npos) {
        const long long length = ContentLength(raw.substr(0, headEnd + 2));
        if (length == -2 || (length >= 0 && static_cast<unsigned long long>(length) > maxBody)) return false;
        if (length >= 0) expected = static_cast<long long>(headEnd + 4) + length;
      }
    }
  }
  socket->abort();
  // A server that closed before the announced length sent a cut reply.
  if (expected >= 0 && raw.size() < static_cast<unsigned long long>(expected)) return false;
  if (!ParseHttpReply(raw, reply) || reply.chunked || reply.body.size() > maxBody) return false;
  return true;
}

}  // namespace net
