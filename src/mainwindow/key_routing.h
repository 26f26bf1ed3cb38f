#pragma once
#include <Qt>

namespace platform {
class KeyState;
}

// Where a key press in the main window goes: to a command of the table (an
// accelerator, a key the window handles), out of full screen, or on to the
// engine's key table.
struct KeyRoute {
  enum class To { Command, LeaveFullScreen, Engine, Nowhere };
  To to = To::Nowhere;
  int command = 0;          // To::Command
  unsigned virtualKey = 0;  // To::Engine
};

// keys: the modifiers and Caps Lock as they are now (none held when null).
KeyRoute RouteKeyPress(int qtKey, Qt::KeyboardModifiers modifiers, const platform::KeyState* keys);
