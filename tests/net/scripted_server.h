#pragma once
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A one-connection HTTP server on 127.0.0.1 in a worker thread: it accepts,
// reads the request head, then sends its reply piece by piece with pauses,
// and closes (or stays silent until it is destroyed). Every wait is bounded.
class ScriptedServer {
 public:
  struct Piece {
    int pauseMs;        // before sending
    std::string bytes;  // sent at once
  };
  enum class End { Close, StaySilent };

  ScriptedServer(std::vector<Piece> reply, End end);
  ~ScriptedServer();
  ScriptedServer(const ScriptedServer&) = delete;
  ScriptedServer& operator=(const ScriptedServer&) = delete;

  int Port() const { return port_; }
  int Connections() const { return connections_.load(); }
  // The request head as received (up to its blank line).
  std::string Request() const;

 private:
  void Run();
  bool Pause(int ms) const;  // false when told to stop

  std::vector<Piece> reply_;
  End end_;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> connections_{0};
  mutable std::mutex mutex_;
  std::string request_;
  std::thread thread_;
};

// A loopback port that nobody listens on.
int ClosedPort();
