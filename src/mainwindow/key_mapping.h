#pragma once
#include <Qt>

// Kinovue's key code (the classic virtual-key value) of a Qt key press, or 0
// when the key has none. Shifted digits and punctuation of a US layout map
// back to their key (Shift+8 gives '8'): the key table asks for the key and
// reads the Shift state on its own. Keypad keys keep their own codes.
unsigned VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers);

// The speed a speed key leads to from speed: "{" one step slower, "}" one
// step faster, Backspace normal speed; 0 for any other key, or one held with
// Ctrl, Alt or Meta.
int SpeedAfterKey(int qtKey, Qt::KeyboardModifiers modifiers, int speed);
