#pragma once
#include <memory>

// Which modifier keys are held and whether Caps Lock is on, asked at the
// moment a key press is handled. Key codes are the classic virtual-key
// values Kinovue uses as its own key codes (0x10 Shift, 0xA0 left Shift, ...).
namespace platform {

enum VirtualKey : unsigned {
  VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12,
  VK_PAUSE = 0x13, VK_CAPITAL = 0x14, VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22,
  VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28,
  VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_LWIN = 0x5B, VK_RWIN = 0x5C, VK_APPS = 0x5D,
  VK_NUMPAD0 = 0x60, VK_MULTIPLY = 0x6A, VK_ADD = 0x6B, VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F,
  VK_F1 = 0x70, VK_LSHIFT = 0xA0, VK_RSHIFT = 0xA1, VK_LCONTROL = 0xA2, VK_RCONTROL = 0xA3, VK_LMENU = 0xA4,
  VK_RMENU = 0xA5, VK_OEM_1 = 0xBA, VK_OEM_PLUS = 0xBB, VK_OEM_COMMA = 0xBC, VK_OEM_MINUS = 0xBD,
  VK_OEM_PERIOD = 0xBE, VK_OEM_2 = 0xBF, VK_OEM_4 = 0xDB, VK_OEM_6 = 0xDD,
};

class KeyState {
 public:
  virtual ~KeyState() = default;
  // vk is one of VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL, VK_LMENU,
  // VK_RMENU or VK_CAPITAL: true while that key is held down.
  virtual bool IsDown(unsigned vk) const = 0;
  // Caps Lock is toggled on.
  virtual bool IsCapsLockOn() const = 0;
};

// The X server's keyboard (needs a display; with none, every key is up and
// Caps Lock off), through one connection of its own.
std::shared_ptr<const KeyState> MakeKeyState();

}  // namespace platform
