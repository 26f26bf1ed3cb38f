#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "engine/engine_types.h"
#include "engine/key_table.h"
#include "mainwindow/command_ids.h"
#include "mainwindow/command_rows.h"
#include "mainwindow/menu_tables.h"

namespace {

std::set<int> MainMenuItemIds() {
  std::set<int> ids;
  for (const MenuRow& row : MainMenuRows())
    if (row.kind == MenuRowKind::Item) ids.insert(row.id);
  return ids;
}

// The key a menu text names at its end: "(Right)" is a key hint, "(&4)" a
// mnemonic; both are empty when the text names none.
struct NamedKey {
  std::string name;
  bool hint = false;
};

NamedKey KeyNamedBy(const std::string& text) {
  const std::size_t open = text.rfind('(');
  if (text.empty() || text.back() != ')' || open == std::string::npos) return {};
  std::string name = text.substr(open + 1, text.size() - open - 2);
  const bool mnemonic = name.starts_with('&');
  if (mnemonic) name.erase(0, 1);
  return {name, !mnemonic};
}

// The audio-sync items carry the mnemonics "-" and "+" the other way round
// from the keypad rows of those labels (both send "audio earlier" as -100).
const std::set<std::string> kMnemonicsNotKeys{"-", "+"};

TEST(CommandRows, MenuItemsThatNameAKeySendWhatTheKeySends) {
  std::map<std::string, const KeyRow*> keys;
  for (const KeyRow& row : EngineKeyTable())
    if (row.virtualKey != 0) keys.emplace(row.label, &row);  // the first row of a label answers it
  int compared = 0;
  for (const MenuRow& item : MainMenuRows()) {
    if (item.kind != MenuRowKind::Item) continue;
    const NamedKey named = KeyNamedBy(item.text);
    if (named.name.empty() || kMnemonicsNotKeys.contains(named.name)) continue;
    const auto key = keys.find(named.name);
    if (key == keys.end()) {
      EXPECT_FALSE(named.hint) << item.text << ": the key table has no such key";
      continue;
    }
    SCOPED_TRACE(item.text);
    const CommandRow* row = FindCommandRow(item.id);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->kind, CommandKind::EngineCommand);
    EXPECT_EQ(row->code, key->second->code);
    EXPECT_EQ(row->argument, key->second->arg);
    ++compared;
  }
  EXPECT_GT(compared, 0);
}

TEST(CommandRows, EveryRowAndTwinNamesAMenuBarItem) {
  const std::set<int> items = MainMenuItemIds();
  for (const CommandRow& row : CommandRows()) EXPECT_TRUE(items.contains(row.id)) << row.id;
  for (const MenuRow& item : ContextMenuRows()) {
    if (item.kind != MenuRowKind::Item) continue;
    EXPECT_TRUE(items.contains(MenuBarTwin(item.id))) << item.text;
  }
}

TEST(PlaybackMenuRows, EachStateTouchesAnItemOnceAndNeverOffersPlayAndPauseTogether) {
  const std::set<int> items = MainMenuItemIds();
  for (int state : {ENGINE_STATE_OPENING, ENGINE_STATE_PLAYING, ENGINE_STATE_PAUSED, ENGINE_STATE_STOPPED}) {
    SCOPED_TRACE(state);
    const PlaybackMenuRow* row = FindPlaybackMenuRow(state);
    ASSERT_NE(row, nullptr);
    std::map<int, int> times;
    for (int id : row->enabled) ++times[id];
    for (int id : row->disabled) ++times[id];
    if (row->playFollowsMedia) ++times[ID_PLAY];
    for (const auto& [id, count] : times) {
      EXPECT_EQ(count, 1) << id;
      EXPECT_TRUE(items.contains(id)) << id;
    }
    const auto enabled = [&](int id) { return std::ranges::find(row->enabled, id) != row->enabled.end(); };
    EXPECT_FALSE((enabled(ID_PLAY) || row->playFollowsMedia) && enabled(ID_PAUSE));
  }
  for (int state : {int{ENGINE_STATE_ABORTED}, 5, -1}) EXPECT_EQ(FindPlaybackMenuRow(state), nullptr) << state;
}

}  // namespace
