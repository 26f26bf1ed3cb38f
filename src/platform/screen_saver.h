#pragma once
#include <cstdint>

namespace platform {

// Keeps the screen saver away while Kinovue runs, through the desktop's
// freedesktop ScreenSaver service on the session bus. Without a session bus
// or that service every call does nothing.
class ScreenSaverInhibitor {
 public:
  ScreenSaverInhibitor() = default;
  ~ScreenSaverInhibitor() { Release(); }
  ScreenSaverInhibitor(const ScreenSaverInhibitor&) = delete;
  ScreenSaverInhibitor& operator=(const ScreenSaverInhibitor&) = delete;

  // Asks for the screen saver to stay off; true when the desktop agreed.
  bool Inhibit();
  // Gives the screen saver back (what was found at start is restored).
  void Release();
  // Tells the desktop once that the user is there (the display is in use).
  static void SimulateActivity();

 private:
  std::uint32_t cookie_ = 0;
};

}  // namespace platform
