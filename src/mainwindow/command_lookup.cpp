// Questions asked of the command table: a command by id, by key or by
// accelerator, the engine's key table, a state's enabling.
#include <algorithm>
#include <vector>

#include "mainwindow/command_table.h"

namespace {

bool IsSection(const CommandRow& row) {
  return row.kind == RowKind::MenuBar || row.kind == RowKind::ContextMenu || row.kind == RowKind::NoMenu;
}

std::vector<KeyRow> CollectKeys() {
  std::vector<std::pair<int, KeyRow>> keys;
  for (const CommandRow& row : CommandTable()) {
    for (const CommandKey& key : row.keys) {
      if (key.order == 0) continue;
      const bool engine = row.action == ActionKind::Engine && key.virtualKey != 0;
      keys.push_back({key.order,
                      {key.virtualKey, key.modifiers, key.ignoreCaps, engine ? row.code : int{ENGINE_CMD_NONE},
                       engine ? row.argument : 0, key.label, key.description}});
    }
  }
  std::ranges::sort(keys, {}, &std::pair<int, KeyRow>::first);
  std::vector<KeyRow> table;
  for (const auto& [order, key] : keys) table.push_back(key);
  return table;
}

}  // namespace

std::span<const CommandRow> SectionRows(RowKind section) {
  const std::span<const CommandRow> rows = CommandTable();
  const auto begin = std::ranges::find(rows, section, &CommandRow::kind);
  if (begin == rows.end()) return {};
  const auto end = std::find_if(begin + 1, rows.end(), IsSection);
  return {begin + 1, end};
}

const CommandRow* FindCommand(int id) {
  const std::span<const CommandRow> rows = CommandTable();
  const auto it = std::ranges::find_if(rows, [id](const CommandRow& row) {
    return row.kind == RowKind::Command && CommandIdOf(row) == id;
  });
  return it == rows.end() ? nullptr : &*it;
}

int CommandIdOf(const CommandRow& row) {
  return row.id != 0 ? row.id : ID_FROM_TABLE + static_cast<int>(&row - CommandTable().data());
}

const CommandRow* ResolveCommand(int id) {
  const CommandRow* row = FindCommand(id);
  // A twin names a command that is no twin itself.
  return row && row->action == ActionKind::Same ? FindCommand(row->twin) : row;
}

std::span<const KeyRow> EngineKeyTable() {
  static const std::vector<KeyRow> keys = CollectKeys();
  return keys;
}

int AcceleratorCommand(unsigned virtualKey, bool control, bool alt, bool shift) {
  // No accelerator takes Shift: each is its exact modifier set.
  if (virtualKey == 0 || shift) return 0;
  for (const CommandRow& row : SectionRows(RowKind::MenuBar)) {
    const Accelerator& a = row.accelerator;
    if (a.virtualKey == virtualKey && a.control == control && a.alt == alt) return CommandIdOf(row);
  }
  return 0;
}

int WindowKeyCommand(int qtKey) {
  for (const CommandRow& row : CommandTable())
    for (const CommandKey& key : row.keys)
      if (key.windowKey != 0 && key.windowKey == qtKey) return CommandIdOf(row);
  return 0;
}

int SpeedCommandId(int speed) {
  for (const CommandRow& row : SectionRows(RowKind::MenuBar))
    if (row.action == ActionKind::Engine && row.code == ENGINE_CMD_SET_SPEED && row.argument == speed)
      return CommandIdOf(row);
  return 0;
}

char PlaybackEnabling(const CommandRow& row, int state) {
  const bool known = state >= ENGINE_STATE_OPENING && state <= ENGINE_STATE_STOPPED;
  return known ? row.playback[state] : '.';
}
