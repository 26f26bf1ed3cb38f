#pragma once
#include <QTcpServer>
#include <string>
#include <vector>

// A loopback HTTP server on the test's own thread: records every request
// head and answers "200 OK". It serves while the thread runs its event loop,
// which the HTTP client does while it waits.
class PingServer {
 public:
  PingServer();
  int Port() const { return server_.serverPort(); }
  // "localhost:<port>": a host name, so requests carry a Host header.
  std::string Address() const { return "localhost:" + std::to_string(Port()); }
  const std::vector<std::string>& Requests() const { return requests_; }

 private:
  QTcpServer server_;
  std::vector<std::string> requests_;
};
