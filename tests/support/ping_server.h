#pragma once
#include <QTcpServer>
#include <string>
#include <vector>

// A loopback HTTP server on the test's own thread: records every request
// head and answers "200 OK". It serves while the thread runs its event loop,
// which the HTTP client does while it waits.
//
// Given a folder, it serves files instead: GET /path answers 200 with the
// bytes of folder/path, or 404 when there is no such file.
class PingServer {
 public:
  PingServer();
  explicit PingServer(std::string folder);
  int Port() const { return server_.serverPort(); }
  // "localhost:<port>": a host name, so requests carry a Host header.
  std::string Address() const { return "localhost:" + std::to_string(Port()); }
  const std::vector<std::string>& Requests() const { return requests_; }

 private:
  QByteArray Answer(const QByteArray& head) const;

  QTcpServer server_;
  std::string folder_;
  std::vector<std::string> requests_;
};
