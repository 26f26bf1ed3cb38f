#pragma once
#include <array>
#include <cstdint>
#include <span>

#include "engine/key_table.h"
#include "mainwindow/command_ids.h"

class CKinovueDlg;

// Every command of the program is one row of one table: its id, a stable
// name, its menu text, accelerator, keys and what it does. The menus, the
// accelerators, the key table the engine answers, the key help and
// OnCommand all read that table; menus are laid out by the marker rows
// between the commands.
enum class RowKind : std::uint8_t {
  Command,
  Popup,      // opens a submenu titled text, up to its EndPopup
  Separator,
  EndPopup,
  MenuBar,      // the rows up to the next section make the menu bar
  ContextMenu,  // ... the picture's context menu
  NoMenu,       // ... commands reached by keys or by other commands only
};

enum class ActionKind : std::uint8_t {
  None,           // no effect (placeholders, skins)
  Engine,         // the engine command {code, argument}
  EngineSetting,  // the engine setting {code as its kind, argument as its value}
  Window,         // the window's function
  Same,           // what the command `twin` does
};

// A key of a command. Keys the engine matches carry their code; keys the
// window matches itself carry virtualKey 0 and, where the match is a plain
// key press, the Qt key. The order places the key in the engine's key table
// and the key help.
struct CommandKey {
  int order = 0;  // 0: no key
  unsigned virtualKey = 0;
  std::uint8_t modifiers = 0;  // KeyModifierBits
  bool ignoreCaps = true;
  int windowKey = 0;  // Qt key the window matches without Ctrl, Alt or Meta
  const char* label = "";
  const char* description = "";
};

struct Accelerator {
  bool control = false;
  bool alt = false;
  unsigned virtualKey = 0;  // upper-case letter; 0: none
};

using WindowAction = void (*)(CKinovueDlg& window);
using WindowCheck = bool (*)(const CKinovueDlg& window);

struct CommandRow {
  RowKind kind = RowKind::Command;
  int id = 0;  // 0: ID_FROM_TABLE plus the row's index (see CommandIdOf)
  const char* name = "";
  const char* text = nullptr;  // menu item text ("\t" before the shortcut) or popup title
  Accelerator accelerator;
  std::array<CommandKey, 3> keys{};
  ActionKind action = ActionKind::None;
  int code = 0;      // ENGINE_CMD_... or ENGINE_SETTING_...
  int argument = 0;
  int twin = 0;
  WindowAction window = nullptr;
  WindowCheck checked = nullptr;  // context menu: the item's check mark
  // Enabling in the engine states OPENING, PLAYING, PAUSED and STOPPED:
  // 'y' enabled, 'n' disabled, 'm' enabled when the engine has a medium to
  // replay, '.' left as it is.
  const char* playback = "....";

  constexpr CommandRow Engine(int c, int arg = 0) const { return Does(ActionKind::Engine, c, arg); }
  constexpr CommandRow Setting(int kind, int value) const { return Does(ActionKind::EngineSetting, kind, value); }
  constexpr CommandRow Run(WindowAction f) const { return Does(ActionKind::Window).With(&CommandRow::window, f); }
  constexpr CommandRow Like(int id) const { return Does(ActionKind::Same).With(&CommandRow::twin, id); }
  constexpr CommandRow Ctrl(char letter) const {
    return With(&CommandRow::accelerator, Accelerator{true, false, unsigned(letter)});
  }
  constexpr CommandRow Alt(char letter) const {
    return With(&CommandRow::accelerator, Accelerator{false, true, unsigned(letter)});
  }
  constexpr CommandRow Key(CommandKey key) const {
    CommandRow r = *this;
    for (CommandKey& k : r.keys)
      if (k.order == 0) return k = key, r;
    throw "a command has at most three keys";
  }
  constexpr CommandRow States(const char* enabling) const { return With(&CommandRow::playback, enabling); }
  constexpr CommandRow Checked(WindowCheck f) const { return With(&CommandRow::checked, f); }

 private:
  template <typename T>
  constexpr CommandRow With(T CommandRow::*field, T value) const {
    CommandRow r = *this;
    r.*field = value;
    return r;
  }
  constexpr CommandRow Does(ActionKind kind, int c = 0, int arg = 0) const {
    return With(&CommandRow::action, kind).With(&CommandRow::code, c).With(&CommandRow::argument, arg);
  }
};

// The whole table, sections and markers included.
std::span<const CommandRow> CommandTable();

// The rows of one section (MenuBar, ContextMenu or NoMenu), without its marker.
std::span<const CommandRow> SectionRows(RowKind section);

// The command of an id, or null.
const CommandRow* FindCommand(int id);
// The id a command row runs by.
int CommandIdOf(const CommandRow& row);

// The command a row's id comes to once twins are followed: a context-menu
// item, Cancel and the system menu's About act like a menu-bar command.
const CommandRow* ResolveCommand(int id);

// The engine's key table: every key of the table in its order, with the
// engine command it sends (ENGINE_CMD_NONE for keys the window handles).
std::span<const KeyRow> EngineKeyTable();

// The command whose accelerator is this key with exactly these modifiers, or 0.
int AcceleratorCommand(unsigned virtualKey, bool control, bool alt, bool shift);

// The command the window runs for a plain Qt key press, or 0.
int WindowKeyCommand(int qtKey);

// The "播放速度" item of a speed; 0 when no item offers it.
int SpeedCommandId(int speed);

// What a command's item shows in an engine state: 'y', 'n', 'm' or '.'
// (any state outside the four: '.').
char PlaybackEnabling(const CommandRow& row, int state);

// Positions used by the code: popup File of the menu bar, and inside it.
inline constexpr int kFilePopup = 0;
inline constexpr int kDiscSubmenu = 2;
inline constexpr int kOrderSubmenu = 7;
inline constexpr int kRecentSubmenu = 11;
