#include "session_bus.h"

#include <chrono>

namespace testsupport {

SessionBus::SessionBus(const std::string& folder)
    : daemon_({"dbus-daemon", "--session", "--nofork", "--nopidfile", "--print-address=1",
               "--address=unix:tmpdir=" + folder}) {
  // The daemon prints its address, one line, once it listens.
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  std::size_t lineEnd = std::string::npos;
  while ((lineEnd = daemon_.Output().find('\n')) == std::string::npos && daemon_.Running() &&
         std::chrono::steady_clock::now() < end)
    daemon_.WaitForOutput(50);
  if (lineEnd != std::string::npos) address_ = daemon_.Output().substr(0, lineEnd);
}

}  // namespace testsupport
