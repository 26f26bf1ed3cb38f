#pragma once
#include <string>

#include "run_command.h"

namespace testsupport {

// A private D-Bus session bus daemon for one test, listening in folder and
// stopped by its process when the object goes away.
class SessionBus {
 public:
  explicit SessionBus(const std::string& folder);

  // The address to put in DBUS_SESSION_BUS_ADDRESS; empty when the daemon did not start.
  const std::string& Address() const { return address_; }

 private:
  RunningCommand daemon_;
  std::string address_;
};

}  // namespace testsupport
