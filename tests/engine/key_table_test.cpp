#include "engine/key_table.h"

#include <gtest/gtest.h>

#include "fake_key_state.h"

using namespace platform;

namespace {

int CodeFor(unsigned vk, const FakeKeyState& keys) {
  const KeyRow* row = MatchKey(vk, keys);
  return row ? row->code : -1;
}

TEST(KeyTable, CapsLockSilencesOnlyTheLetterRows) {
  FakeKeyState keys;
  EXPECT_EQ(CodeFor('M', keys), ENGINE_CMD_MUTE);
  keys.capsLock = true;
  EXPECT_EQ(CodeFor('M', keys), -1);
  EXPECT_EQ(CodeFor('F', keys), -1);
  EXPECT_EQ(CodeFor(VK_LEFT, keys), ENGINE_CMD_SEEK);
  EXPECT_EQ(CodeFor('1', keys), ENGINE_CMD_CONTRAST);
  keys.capsLock = false;
  keys.down = {VK_CAPITAL};  // held down counts as on
  EXPECT_EQ(CodeFor('S', keys), -1);
}

TEST(KeyTable, EightDependsOnWhichShiftIsHeld) {
  FakeKeyState keys;
  const KeyRow* plain = MatchKey('8', keys);
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(plain->code, ENGINE_CMD_SATURATION);
  keys.down = {VK_LSHIFT};
  const KeyRow* left = MatchKey('8', keys);
  ASSERT_NE(left, nullptr);
  EXPECT_EQ(left->code, ENGINE_CMD_CHANGE_VOLUME);
  EXPECT_EQ(left->arg, 1);
  keys.down = {VK_RSHIFT};
  const KeyRow* right = MatchKey('8', keys);
  ASSERT_NE(right, nullptr);
  EXPECT_EQ(right->code, ENGINE_CMD_CHANGE_VOLUME);
  EXPECT_NE(right, left);
  keys.down = {VK_LSHIFT, VK_RSHIFT};  // both: no row asks for that
  EXPECT_EQ(MatchKey('8', keys), nullptr);
  keys.down = {VK_LCONTROL};
  EXPECT_EQ(MatchKey(VK_LEFT, keys), nullptr);  // arrows want no modifier at all
}

TEST(KeyTable, KeypadAndTopRowAreDistinct) {
  FakeKeyState keys;
  EXPECT_EQ(CodeFor(VK_ADD, keys), ENGINE_CMD_AUDIO_DELAY);
  EXPECT_EQ(CodeFor(VK_OEM_PLUS, keys), -1);
  EXPECT_EQ(CodeFor(VK_NUMPAD0 + 1, keys), -1);
  EXPECT_EQ(CodeFor(0, keys), -1);  // the help-only row never matches
}

TEST(KeyTable, HelpLinesArePaddedLabelsInTableOrder) {
  const auto table = EngineKeyTable();
  ASSERT_EQ(table.size(), 40u);
  EXPECT_EQ(KeyHelpLine(table[0]), "Left          后退10秒");
  EXPECT_EQ(KeyHelpLine(table[13]), "");  // the right-Shift row has no help line
  EXPECT_EQ(KeyHelpLine(table[16]), "f/Esc         切换窗口模式和全屏模式");
  EXPECT_EQ(KeyHelpLine(table[36]), "T             保持/取消在桌面最上端");
  EXPECT_EQ(KeyHelpLine(table[39]), "Backspace     恢复正常播放速度");
  for (const KeyRow& row : table) {
    const std::string line = KeyHelpLine(row);
    if (!line.empty()) {
      EXPECT_EQ(line.substr(0, 14).find_last_not_of(' ') + 1, std::string(row.label).size());
    }
  }
}

}  // namespace
