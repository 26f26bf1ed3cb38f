#include "platform/key_state.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <memory>

namespace platform {
namespace {

class X11KeyState final : public KeyState {
 public:
  X11KeyState();
  ~X11KeyState() override;
  X11KeyState(const X11KeyState&) = delete;
  X11KeyState& operator=(const X11KeyState&) = delete;
  bool IsDown(unsigned vk) const override;
  bool IsCapsLockOn() const override;

 private:
  Display* display_ = nullptr;
};

X11KeyState::X11KeyState() { display_ = XOpenDisplay(nullptr); }

X11KeyState::~X11KeyState() {
  if (display_) XCloseDisplay(display_);
}

bool X11KeyState::IsDown(unsigned vk) const {
  if (!display_) return false;
  KeySym sym = 0;
  switch (vk) {
    case VK_LSHIFT: sym = XK_Shift_L; break;
    case VK_RSHIFT: sym = XK_Shift_R; break;
    case VK_LCONTROL: sym = XK_Control_L; break;
    case VK_RCONTROL: sym = XK_Control_R; break;
    case VK_LMENU: sym = XK_Alt_L; break;
    case VK_RMENU: sym = XK_Alt_R; break;
    case VK_CAPITAL: sym = XK_Caps_Lock; break;
    default: return false;
  }
  const KeyCode code = XKeysymToKeycode(display_, sym);
  if (code == 0) return false;
  char keys[32];
  XQueryKeymap(display_, keys);
  return (keys[code / 8] >> (code % 8)) & 1;
}

bool X11KeyState::IsCapsLockOn() const {
  if (!display_) return false;
  unsigned state = 0;
  if (XkbGetIndicatorState(display_, XkbUseCoreKbd, &state) != Success) return false;
  return state & 1u;  // indicator 0 is Caps Lock on every common layout
}

}  // namespace

std::shared_ptr<const KeyState> MakeKeyState() { return std::make_shared<X11KeyState>(); }

}  // namespace platform
