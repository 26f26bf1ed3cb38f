#pragma once
#include <Qt>

// Kinovue's key code (the classic virtual-key value) of a Qt key press, or 0
// when the key has none. Shifted digits and punctuation of a US layout map
// back to their key (Shift+8 gives '8'): the key table asks for the key and
// reads the Shift state on its own. Keypad keys keep their own codes.
unsigned VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers);

