#include "engine/key_table.h"

#include <array>
#include <cstring>

using namespace platform;

namespace {

constexpr unsigned kKey0 = '0';
constexpr unsigned Digit(int n) { return kKey0 + static_cast<unsigned>(n); }
constexpr unsigned Letter(char c) { return static_cast<unsigned>(c); }

// The "[" and "]" rows keep the codes 0x5B and 0x5D; Kinovue's key mapping
// gives those codes to the bracket keys, as their help lines promise.
constexpr unsigned kLeftBracketRow = 0x5B;
constexpr unsigned kRightBracketRow = 0x5D;

constexpr std::array<KeyRow, 40> kKeys{{
    {VK_LEFT, 0, true, ENGINE_CMD_SEEK, -10, "Left", "后退10秒"},
    {VK_RIGHT, 0, true, ENGINE_CMD_SEEK, 10, "Right", "前进10秒"},
    {VK_UP, 0, true, ENGINE_CMD_SEEK, -60, "Up", "后退1分"},
    {VK_DOWN, 0, true, ENGINE_CMD_SEEK, 60, "Down", "前进1分"},
    {kLeftBracketRow, 0, true, ENGINE_CMD_SEEK, -60, "[", "后退1分"},
    {kRightBracketRow, 0, true, ENGINE_CMD_SEEK, 60, "]", "前进1分"},
    {VK_PRIOR, 0, true, ENGINE_CMD_SEEK, -600, "PageUp", "后退10分"},
    {VK_NEXT, 0, true, ENGINE_CMD_SEEK, 600, "PageDown", "前进10分"},
    {VK_ADD, 0, true, ENGINE_CMD_AUDIO_DELAY, -100, "+", "声音相对视频快0.1秒"},
    {VK_SUBTRACT, 0, true, ENGINE_CMD_AUDIO_DELAY, 100, "-", "声音相对视频慢0.1秒"},
    {Digit(0), 0, true, ENGINE_CMD_CHANGE_VOLUME, 1, "0", "增大音量"},
    {Digit(9), 0, true, ENGINE_CMD_CHANGE_VOLUME, -1, "9", "减小音量"},
    {Digit(8), KEY_MOD_LSHIFT, true, ENGINE_CMD_CHANGE_VOLUME, 1, "*", "增大音量"},
    {Digit(8), KEY_MOD_RSHIFT, true, ENGINE_CMD_CHANGE_VOLUME, 1, "", ""},
    {VK_OEM_2, 0, true, ENGINE_CMD_CHANGE_VOLUME, -1, "/", "减小音量"},
    {Letter('M'), 0, false, ENGINE_CMD_MUTE, 0, "m", "静音"},
    {Letter('F'), 0, false, ENGINE_CMD_FULLSCREEN, 0, "f/Esc", "切换窗口模式和全屏模式"},
    {Letter('O'), 0, false, ENGINE_CMD_OSD, -1, "o", "切换OSD状态"},
    {VK_SPACE, 0, true, ENGINE_CMD_PLAY, 0, "Space", "播放/暂停"},
    {VK_RETURN, 0, true, ENGINE_CMD_PLAY, 0, "Enter", "播放/暂停"},
    {Letter('Z'), 0, false, ENGINE_CMD_SUB_DELAY, -100, "z", "字幕比画面快0.1秒"},
    {Letter('X'), 0, false, ENGINE_CMD_SUB_DELAY, 100, "x", "字幕比画面慢0.1秒"},
    {VK_OEM_PERIOD, 0, true, ENGINE_CMD_FRAME_STEP, 0, ".", "逐帧步进"},
    {Digit(1), 0, true, ENGINE_CMD_CONTRAST, -1, "1", "降低对比度"},
    {Digit(2), 0, true, ENGINE_CMD_CONTRAST, 1, "2", "增加对比度"},
    {Digit(3), 0, true, ENGINE_CMD_BRIGHTNESS, -1, "3", "降低亮度"},
    {Digit(4), 0, true, ENGINE_CMD_BRIGHTNESS, 1, "4", "增加亮度"},
    {Digit(5), 0, true, ENGINE_CMD_HUE, -1, "5", "降低色相"},
    {Digit(6), 0, true, ENGINE_CMD_HUE, 1, "6", "增加色相"},
    {Digit(7), 0, true, ENGINE_CMD_SATURATION, -1, "7", "降低饱和度"},
    {Digit(8), 0, true, ENGINE_CMD_SATURATION, 1, "8", "增加饱和度"},
    {Letter('R'), 0, false, ENGINE_CMD_SUB_POS, -1, "r", "降低字幕位置"},
    {Letter('T'), 0, false, ENGINE_CMD_SUB_POS, 1, "t", "抬高字幕位置"},
    {Letter('S'), 0, false, ENGINE_CMD_SCREENSHOT, 0, "s", "屏幕快照"},
    {Letter('A'), 0, false, ENGINE_CMD_SWITCH_AUDIO, 0, "a", "切换音轨"},
    {Letter('J'), 0, false, ENGINE_CMD_VOBSUB_LANG, 0, "j", "切换字幕语言"},
    {0, 0, true, ENGINE_CMD_NONE, 0, "T", "保持/取消在桌面最上端"},
    // The speed keys, which the main window handles itself (like T).
    {0, 0, true, ENGINE_CMD_NONE, 0, "{", "减慢播放速度"},
    {0, 0, true, ENGINE_CMD_NONE, 0, "}", "加快播放速度"},
    {0, 0, true, ENGINE_CMD_NONE, 0, "Backspace", "恢复正常播放速度"},
}};

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

std::span<const KeyRow> EngineKeyTable() { return kKeys; }

const KeyRow* MatchKey(unsigned virtualKey, const KeyState& keys) {
  if (virtualKey == 0) return nullptr;
  for (const KeyRow& row : kKeys) {
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
