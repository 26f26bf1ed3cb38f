#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "engine/engine_types.h"
#include "platform/key_state.h"

// Modifier bits of a key row: the required up (0) or down (1) position of
// each modifier key, and of Caps Lock in bit 7.
enum KeyModifierBits : std::uint8_t {
  KEY_MOD_LCONTROL = 1 << 0,
  KEY_MOD_LMENU = 1 << 1,
  KEY_MOD_LSHIFT = 1 << 2,
  KEY_MOD_RCONTROL = 1 << 3,
  KEY_MOD_RMENU = 1 << 4,
  KEY_MOD_RSHIFT = 1 << 5,
  KEY_MOD_CAPITAL = 1 << 7,
};

struct KeyRow {
  unsigned virtualKey;     // 0 never matches (a row for the help list only)
  std::uint8_t modifiers;  // KeyModifierBits
  bool ignoreCaps;         // false: matches only while Caps Lock is off and not held
  int code;                // ENGINE_CMD_...
  int arg;
  const char* label;       // empty label and description: an empty help line
  const char* description;
};

// The first row of table that answers the key with the modifiers as they
// are now, or null. The program's table comes from its commands.
const KeyRow* MatchKey(std::span<const KeyRow> table, unsigned virtualKey, const platform::KeyState& keys);

// The label left-justified in 14 characters, then the description.
std::string KeyHelpLine(const KeyRow& row);
