#pragma once
#include <span>

// The menus and the accelerator table as data: one row per item.
enum class MenuRowKind { Item, Separator, Popup, EndPopup };

struct MenuRow {
  MenuRowKind kind;
  int id;            // Item only
  const char* text;  // Item and Popup; "\t" separates the shortcut text
};

// Menu 129, the menu bar.
std::span<const MenuRow> MainMenuRows();
// Menu 171, the context menu: its one popup "pop menu".
std::span<const MenuRow> ContextMenuRows();

// Accelerator table 182.
struct Accelerator {
  bool control;
  bool alt;
  unsigned virtualKey;  // upper-case letter
  int id;
};
std::span<const Accelerator> AcceleratorTable();

// Positions used by the code: popup File of the menu bar, and inside it.
inline constexpr int kFilePopup = 0;
inline constexpr int kDiscSubmenu = 2;
inline constexpr int kOrderSubmenu = 7;
inline constexpr int kRecentSubmenu = 11;
