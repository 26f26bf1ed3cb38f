#pragma once
#include <set>

#include "platform/key_state.h"

// Modifier keys and Caps Lock as a test sets them.
struct FakeKeyState : platform::KeyState {
  std::set<unsigned> down;
  bool capsLock = false;
  bool IsDown(unsigned vk) const override { return down.count(vk) != 0; }
  bool IsCapsLockOn() const override { return capsLock; }
};
