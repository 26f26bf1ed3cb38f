#pragma once

namespace platform {

// True when the X server named by DISPLAY accepts a connection. Kinovue
// embeds the engine's picture in an X11 window, so it cannot run without one.
bool CanOpenX11Display();

}  // namespace platform
