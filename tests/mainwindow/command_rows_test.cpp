#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "engine/key_table.h"
#include "mainwindow/command_ids.h"
#include "mainwindow/command_rows.h"
#include "mainwindow/menu_tables.h"

namespace {

// Menu items that name a key at the end of their text, as a hint "(Right)" or
// a mnemonic "(&4)", send what that key sends. The audio-sync mnemonics "-"
// and "+" are the other way round from the keypad rows of those labels (both
// send "audio earlier" as -100), so they are no key names.
TEST(CommandRows, MenuItemsThatNameAKeySendWhatTheKeySends) {
  std::map<std::string, const KeyRow*> keys;
  for (const KeyRow& row : EngineKeyTable())
    if (row.virtualKey != 0) keys.emplace(row.label, &row);  // the first row of a label answers it
  int compared = 0;
  for (const MenuRow& item : MainMenuRows()) {
    const std::string text = item.kind == MenuRowKind::Item ? item.text : "";
    const std::size_t open = text.rfind('(');
    if (!text.ends_with(')') || open == std::string::npos) continue;
    std::string name = text.substr(open + 1, text.size() - open - 2);
    const bool hint = !name.starts_with('&');
    if (!hint) name.erase(0, 1);
    if (name == "-" || name == "+") continue;
    SCOPED_TRACE(text);
    const auto key = keys.find(name);
    if (key == keys.end()) {
      EXPECT_FALSE(hint) << "the key table has no such key";
      continue;
    }
    const CommandRow* row = FindCommandRow(item.id);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->kind, CommandKind::EngineCommand);
    EXPECT_EQ(row->code, key->second->code);
    EXPECT_EQ(row->argument, key->second->arg);
    ++compared;
  }
  EXPECT_GT(compared, 0);
}

// A row, a twin or an enabled item with an id no menu carries would do nothing.
TEST(PlaybackMenuRows, EachStateTouchesAMenuItemOnceAndNeverOffersPlayAndPauseTogether) {
  std::set<int> items;
  for (const MenuRow& row : MainMenuRows())
    if (row.kind == MenuRowKind::Item) items.insert(row.id);
  for (const CommandRow& row : CommandRows()) EXPECT_TRUE(items.contains(row.id)) << row.id;
  for (const MenuRow& row : ContextMenuRows()) EXPECT_TRUE(row.id == 0 || items.contains(MenuBarTwin(row.id))) << row.id;
  for (int state : {ENGINE_STATE_OPENING, ENGINE_STATE_PLAYING, ENGINE_STATE_PAUSED, ENGINE_STATE_STOPPED}) {
    SCOPED_TRACE(state);
    const PlaybackMenuRow* row = FindPlaybackMenuRow(state);
    ASSERT_NE(row, nullptr);
    std::map<int, int> times;
    for (int id : row->enabled) ++times[id];
    for (int id : row->disabled) ++times[id];
    if (row->playFollowsMedia) ++times[ID_PLAY];
    for (const auto& [id, count] : times) EXPECT_TRUE(count == 1 && items.contains(id)) << id;
    const auto enabled = [&](int id) { return std::ranges::find(row->enabled, id) != row->enabled.end(); };
    EXPECT_FALSE((enabled(ID_PLAY) || row->playFollowsMedia) && enabled(ID_PAUSE));
  }
  for (int state : {int{ENGINE_STATE_ABORTED}, 5, -1}) EXPECT_EQ(FindPlaybackMenuRow(state), nullptr) << state;
}

}  // namespace
