#include "platform/x11_display.h"

#include <X11/Xlib.h>
#include <csignal>

namespace platform {

namespace {

// A server that resets while it is being greeted closes the socket under
// Xlib's write; that must fail the check, not end the program on SIGPIPE.
// Kinovue ignores SIGPIPE throughout (its pipes and sockets report EPIPE).
Display* OpenWithoutBrokenPipeSignal() {
  std::signal(SIGPIPE, SIG_IGN);
  return XOpenDisplay(nullptr);
}

}  // namespace

X11DisplayCheck::X11DisplayCheck() : display_(OpenWithoutBrokenPipeSignal()) {}

X11DisplayCheck::~X11DisplayCheck() {
  if (display_) XCloseDisplay(static_cast<Display*>(display_));
}

}  // namespace platform
