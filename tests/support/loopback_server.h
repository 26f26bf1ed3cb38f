#pragma once
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class QTcpSocket;

namespace testsupport {

// An HTTP server on 127.0.0.1, on a free port, in a thread of its own, so it
// answers whatever the test's thread is busy with. It takes one connection
// at a time: reads the request head (up to its blank line), records it, sends
// the reply the server's script makes for it piece by piece with pauses, and
// closes (or stays silent until the server goes away). Every wait is bounded.
class LoopbackServer {
 public:
  struct Piece {
    int pauseMs;        // before sending
    std::string bytes;  // sent at once
  };
  enum class End { Close, StaySilent };
  struct Reply {
    std::vector<Piece> pieces;
    End end = End::Close;
  };
  using Script = std::function<Reply(const std::string& head)>;
  // PEM files of the certificate and key a TLS server presents.
  struct Tls {
    std::string certificateFile;
    std::string keyFile;
  };

  // Every request answered "200 OK" with an empty body.
  LoopbackServer();
  // Every request answered alike.
  LoopbackServer(std::vector<Piece> pieces, End end);
  explicit LoopbackServer(Script script);
  // Speaks TLS with the given identity (an "https://" server).
  LoopbackServer(Script script, Tls tls);
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  // GET /path answered with the bytes of folder/path, or 404 when there is
  // no such file.
  static Script Files(std::string folder);

  int Port() const { return port_; }
  // "localhost:<port>": a host name, so requests carry a Host header.
  std::string Address() const { return "localhost:" + std::to_string(port_); }
  int Connections() const { return connections_.load(); }
  // Every request head, in the order received.
  std::vector<std::string> Requests() const;
  // The last request head; empty before the first.
  std::string Request() const;

 private:
  void Serve(QTcpSocket& socket);
  bool Pause(int ms) const;  // false when told to stop

  Script script_;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> connections_{0};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

// A loopback port that nobody listens on.
int ClosedPort();

}  // namespace testsupport
