#include "platform/x11_display.h"

#include <X11/Xlib.h>

namespace platform {

bool CanOpenX11Display() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return false;
  XCloseDisplay(display);
  return true;
}

}  // namespace platform
