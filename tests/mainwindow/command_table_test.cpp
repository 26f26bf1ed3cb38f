#include "mainwindow/command_table.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "fake_key_state.h"
#include "mainwindow/key_routing.h"

using namespace platform;

namespace {

// Ids and names are how menus, keys and stored settings find a command.
TEST(CommandTable, IdsAndNamesAreUniqueAndEveryTwinNamesAMenuBarCommand) {
  std::set<int> ids;
  std::set<std::string> names;
  std::set<int> menuBar;
  for (const CommandRow& row : SectionRows(RowKind::MenuBar))
    if (row.kind == RowKind::Command) menuBar.insert(CommandIdOf(row));
  for (const CommandRow& row : CommandTable()) {
    if (row.kind != RowKind::Command) continue;
    SCOPED_TRACE(row.name);
    EXPECT_TRUE(ids.insert(CommandIdOf(row)).second);
    EXPECT_EQ(FindCommand(CommandIdOf(row)), &row);
    EXPECT_TRUE(names.insert(row.name).second);
    EXPECT_FALSE(row.action == ActionKind::Window && !row.window);
    if (row.action == ActionKind::Same) {
      EXPECT_TRUE(menuBar.contains(row.twin));
      EXPECT_NE(ResolveCommand(CommandIdOf(row))->action, ActionKind::Same);
    }
  }
  EXPECT_EQ(ResolveCommand(ID_CONTEXT_PLAY), FindCommand(ID_PLAY));
  EXPECT_EQ(ResolveCommand(0xFFFF), nullptr);
}

TEST(CommandTable, MenuBarHasSixPopupsAndThePositionsNameTheFileSubmenus) {
  int depth = 0, topLevel = 0;
  std::vector<std::string> file;
  for (const CommandRow& row : SectionRows(RowKind::MenuBar)) {
    if (depth == 1 && topLevel == 1 && row.kind != RowKind::EndPopup)
      file.push_back(row.kind == RowKind::Separator ? "-" : row.text);
    if (row.kind == RowKind::Popup && depth++ == 0) ++topLevel;
    if (row.kind == RowKind::EndPopup) --depth;
    EXPECT_GE(depth, 0);
  }
  EXPECT_EQ(depth, 0);
  EXPECT_EQ(topLevel, 6);
  ASSERT_GT(file.size(), static_cast<std::size_t>(kRecentSubmenu));
  EXPECT_EQ(file[kDiscSubmenu], "打开VCD/DVD");
  EXPECT_EQ(file[kOrderSubmenu], "顺序选择");
  EXPECT_EQ(file[kRecentSubmenu], "最近播放文件");
}

// What an item's text promises: "\tCtrl+O" is its accelerator, "(Right)"
// a key that does the same. The "(&-)" and "(&+)" mnemonics of the audio
// items are no key names.
TEST(CommandTable, MenuTextsPromiseTheAcceleratorsAndKeysOfTheirRow) {
  int accelerators = 0, hints = 0;
  for (const CommandRow& row : SectionRows(RowKind::MenuBar)) {
    if (row.kind != RowKind::Command || !row.text) continue;
    const std::string text = row.text;
    SCOPED_TRACE(text);
    if (row.accelerator.virtualKey != 0) {
      const std::string shown = std::string(row.accelerator.control ? "\tCtrl+" : "\tAlt+") +
                                char(row.accelerator.virtualKey);
      EXPECT_TRUE(text.ends_with(shown));
      ++accelerators;
    }
    const std::size_t open = text.rfind("(");
    if (!text.ends_with(")") || open == std::string::npos || text[open + 1] == '&') continue;
    const std::string key = text.substr(open + 1, text.size() - open - 2);
    bool found = false;
    for (const CommandKey& k : row.keys) found |= k.order != 0 && key == k.label;
    EXPECT_TRUE(found) << key;
    ++hints;
  }
  EXPECT_EQ(accelerators, 10);
  EXPECT_EQ(hints, 7);
}

int CodeFor(unsigned vk, const FakeKeyState& keys) {
  const KeyRow* row = MatchKey(EngineKeyTable(), vk, keys);
  return row ? row->code : -1;
}

TEST(EngineKeyTable, CapsLockModifiersAndKeypadChooseTheRow) {
  FakeKeyState keys;
  EXPECT_EQ(CodeFor('M', keys), ENGINE_CMD_MUTE);
  EXPECT_EQ(CodeFor('8', keys), ENGINE_CMD_SATURATION);
  EXPECT_EQ(CodeFor(VK_ADD, keys), ENGINE_CMD_AUDIO_DELAY);
  EXPECT_EQ(CodeFor(VK_OEM_PLUS, keys), -1);
  EXPECT_EQ(CodeFor(VK_NUMPAD0 + 1, keys), -1);
  EXPECT_EQ(CodeFor(0, keys), -1);  // the window's keys never match here
  keys.down = {VK_LSHIFT};
  EXPECT_EQ(CodeFor('8', keys), ENGINE_CMD_CHANGE_VOLUME);
  keys.down = {VK_RSHIFT};
  EXPECT_EQ(CodeFor('8', keys), ENGINE_CMD_CHANGE_VOLUME);
  keys.down = {VK_LSHIFT, VK_RSHIFT};  // no row asks for both
  EXPECT_EQ(CodeFor('8', keys), -1);
  keys.down = {VK_LCONTROL};
  EXPECT_EQ(CodeFor(VK_LEFT, keys), -1);  // arrows want no modifier at all
  keys.down = {};
  keys.capsLock = true;  // silences the letters only
  EXPECT_EQ(CodeFor('M', keys), -1);
  EXPECT_EQ(CodeFor(VK_LEFT, keys), ENGINE_CMD_SEEK);
  EXPECT_EQ(CodeFor('1', keys), ENGINE_CMD_CONTRAST);
  keys.capsLock = false;
  keys.down = {VK_CAPITAL};  // held down counts as on
  EXPECT_EQ(CodeFor('S', keys), -1);
}

TEST(EngineKeyTable, HelpLinesComeInTheirOrderWithTheKeyColumnLinedUp) {
  const auto table = EngineKeyTable();
  ASSERT_EQ(table.size(), 40u);
  EXPECT_EQ(KeyHelpLine(table[0]), "Left          后退10秒");
  EXPECT_EQ(KeyHelpLine(table[4]), "[             后退1分");
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

TEST(KeyRouting, AcceleratorsWindowKeysAndTheRestGoWhereTheTableSays) {
  using To = KeyRoute::To;
  FakeKeyState none, leftShift, caps, shiftAndCaps;
  leftShift.down = {VK_LSHIFT};
  caps.capsLock = true;
  shiftAndCaps.down = {VK_LSHIFT};
  shiftAndCaps.capsLock = true;
  const struct {
    int qtKey;
    Qt::KeyboardModifiers modifiers;
    const FakeKeyState* keys;
    To to;
    int command;
    unsigned vk;
  } cases[] = {
      {Qt::Key_O, Qt::ControlModifier, &none, To::Command, ID_OPEN_FILE, 0},
      {Qt::Key_X, Qt::AltModifier, &none, To::Command, ID_EXIT, 0},
      {Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier, &none, To::Engine, 0, 'O'},  // no accelerator takes Shift
      {Qt::Key_G, Qt::ControlModifier, &none, To::Engine, 0, 'G'},  // "转到\tCtrl+G" has no accelerator
      {Qt::Key_BraceLeft, Qt::ShiftModifier, &none, To::Command, ID_SPEED_SLOWER, 0},
      {Qt::Key_BraceRight, Qt::ShiftModifier, &none, To::Command, ID_SPEED_FASTER, 0},
      {Qt::Key_Backspace, Qt::NoModifier, &none, To::Command, ID_SPEED_100, 0},
      {Qt::Key_Backspace, Qt::ControlModifier, &none, To::Engine, 0, VK_BACK},
      {Qt::Key_Escape, Qt::ControlModifier, &none, To::LeaveFullScreen, 0, 0},
      {Qt::Key_T, Qt::ShiftModifier, &leftShift, To::Command, ID_TOPMOST, 0},
      {Qt::Key_T, Qt::NoModifier, &caps, To::Command, ID_TOPMOST, 0},
      {Qt::Key_T, Qt::ShiftModifier, &shiftAndCaps, To::Engine, 0, 'T'},
      {Qt::Key_T, Qt::NoModifier, &none, To::Engine, 0, 'T'},
      {Qt::Key_Space, Qt::NoModifier, &none, To::Engine, 0, VK_SPACE},
      {Qt::Key_Launch0, Qt::NoModifier, &none, To::Nowhere, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.qtKey);
    const KeyRoute route = RouteKeyPress(c.qtKey, c.modifiers, c.keys);
    EXPECT_EQ(route.to, c.to);
    EXPECT_EQ(route.command, c.command);
    EXPECT_EQ(route.virtualKey, c.vk);
  }
}

// Play and pause are never offered together, and the context menu's items
// follow their twins where both say something.
TEST(CommandTable, NoStateOffersPlayAndPauseTogether) {
  for (int state : {ENGINE_STATE_OPENING, ENGINE_STATE_PLAYING, ENGINE_STATE_PAUSED, ENGINE_STATE_STOPPED}) {
    SCOPED_TRACE(state);
    for (const auto& [play, pause] : {std::pair{ID_PLAY, ID_PAUSE}, std::pair{ID_CONTEXT_PLAY, ID_CONTEXT_PAUSE}}) {
      const char p = PlaybackEnabling(*FindCommand(play), state);
      const char q = PlaybackEnabling(*FindCommand(pause), state);
      EXPECT_FALSE((p == 'y' || p == 'm') && q == 'y');
    }
    for (const CommandRow& row : CommandTable())
      EXPECT_TRUE(std::string("ynm.").find(PlaybackEnabling(row, state)) != std::string::npos) << row.name;
  }
  EXPECT_EQ(PlaybackEnabling(*FindCommand(ID_PLAY), ENGINE_STATE_ABORTED), '.');
}

}  // namespace
