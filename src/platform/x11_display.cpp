#include "platform/x11_display.h"

#include <X11/Xlib.h>

namespace platform {

X11DisplayCheck::X11DisplayCheck() : display_(XOpenDisplay(nullptr)) {}

X11DisplayCheck::~X11DisplayCheck() {
  if (display_) XCloseDisplay(static_cast<Display*>(display_));
}

}  // namespace platform
