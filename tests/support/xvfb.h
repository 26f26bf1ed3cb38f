#pragma once
#include <string>

namespace testsupport {

// A private X server (Xvfb) for one test: started on a free display number,
// stopped by its process id when the object goes away. A server whose
// socket does not take a connection is replaced, a few times at most.
class Xvfb {
 public:
  explicit Xvfb(int width = 1280, int height = 1024);
  ~Xvfb();
  Xvfb(const Xvfb&) = delete;
  Xvfb& operator=(const Xvfb&) = delete;

  bool Running() const { return pid_ > 0 && !display_.empty(); }
  const std::string& Display() const { return display_; }  // ":N"

 private:
  void Launch(const std::string& screen);
  void Stop();

  int pid_ = -1;
  std::string display_;
};

// Runs a command line through /bin/sh with DISPLAY set, waits at most
// timeoutMs, and returns its standard output (trimmed); empty on failure.
std::string RunWithDisplay(const std::string& display, const std::string& command, int timeoutMs = 10000);

}  // namespace testsupport
