#include "engine/key_table.h"

#include <array>
#include <cstring>

using namespace platform;

namespace {

struct ModifierKey {
  std::uint8_t bit;
  unsigned virtualKey;
};

constexpr std::array<ModifierKey, 6> kModifierKeys{{
    {KEY_MOD_LCONTROL, VK_LCONTROL},
    {KEY_MOD_LMENU, VK_LMENU},
    {KEY_MOD_LSHIFT, VK_LSHIFT},
    {KEY_MOD_RCONTROL, VK_RCONTROL},
    {KEY_MOD_RMENU, VK_RMENU},
    {KEY_MOD_RSHIFT, VK_RSHIFT},
}};

}  // namespace

const KeyRow* MatchKey(std::span<const KeyRow> table, unsigned virtualKey, const KeyState& keys) {
  if (virtualKey == 0) return nullptr;
  for (const KeyRow& row : table) {
    if (row.virtualKey != virtualKey) continue;
    bool modifiersMatch = true;
    for (const ModifierKey& m : kModifierKeys) {
      if (((row.modifiers & m.bit) != 0) != keys.IsDown(m.virtualKey)) {
        modifiersMatch = false;
        break;
      }
    }
    if (!modifiersMatch) continue;
    if (!row.ignoreCaps && (keys.IsCapsLockOn() || keys.IsDown(VK_CAPITAL))) continue;
    return &row;
  }
  return nullptr;
}

std::string KeyHelpLine(const KeyRow& row) {
  if (!*row.label && !*row.description) return {};
  std::string line = row.label;
  if (line.size() < 14) line.resize(14, ' ');
  return line + row.description;
}
