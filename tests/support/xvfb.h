#pragma once
#include <csignal>
#include <string>

#include "temp_dir.h"

namespace testsupport {

// A private X server (Xvfb) for one test: started on a free display number,
// stopped by its process id when the object goes away. A server that does
// not complete an X connection setup is replaced, a few times at most.
//
// By default it does not reset when its last client leaves: a connection
// made during a reset fails, and tests connect and leave all the time.
class Xvfb {
 public:
  enum class WhenIdle { kKeepServing, kReset };
  explicit Xvfb(int width = 1280, int height = 1024, WhenIdle idle = WhenIdle::kKeepServing);
  ~Xvfb();
  Xvfb(const Xvfb&) = delete;
  Xvfb& operator=(const Xvfb&) = delete;

  bool Running() const { return pid_ > 0 && !display_.empty(); }
  const std::string& Display() const { return display_; }  // ":N"
  // Empty while the server answers a connection; otherwise what became of
  // it and the end of its log, for a test's failure message.
  std::string Health() const;

 private:
  void Launch(const std::string& screen, WhenIdle idle);
  void Stop();
  // Whether the server has ended, leaving it for Stop() to reap.
  bool Ended(siginfo_t& info) const;
  std::string Log() const { return logFolder_.File("xvfb.log"); }  // the server's standard error

  int pid_ = -1;
  std::string display_;
  TempDir logFolder_;
};

// Runs a command line through /bin/sh with DISPLAY set, waits at most
// timeoutMs, and returns its standard output (trimmed); empty on failure.
std::string RunWithDisplay(const std::string& display, const std::string& command, int timeoutMs = 10000);

}  // namespace testsupport
