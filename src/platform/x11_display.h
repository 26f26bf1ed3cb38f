#pragma once

namespace platform {

// A connection to the X server named by DISPLAY, taken to learn whether
// Kinovue can run at all (it embeds the engine's picture in an X11 window).
// Keep it until the toolkit has connected too: a server whose last client
// leaves resets itself, and a connection made during that reset fails, so
// closing the check's connection first can make the toolkit's fail on a
// server with no other clients (a fresh Xvfb, say).
class X11DisplayCheck {
 public:
  X11DisplayCheck();
  ~X11DisplayCheck();
  X11DisplayCheck(const X11DisplayCheck&) = delete;
  X11DisplayCheck& operator=(const X11DisplayCheck&) = delete;

  bool Opened() const { return display_ != nullptr; }

 private:
  void* display_ = nullptr;  // Xlib's Display, kept out of this header
};

}  // namespace platform
