#pragma once
#include <span>

// Menu commands that only pass something on to the engine, as rows, and the
// playback items each engine state enables or greys.
enum class CommandKind {
  EngineCommand,  // Execute {code, argument}
  EngineSetting,  // ApplySetting {code as the setting kind, argument as its value}
};

struct CommandRow {
  int id;
  CommandKind kind;
  int code;  // ENGINE_CMD_... or ENGINE_SETTING_...
  int argument;
};

// The menu-bar id that a context-menu item, the system menu's About or the
// window's Cancel acts like; any other id is returned as it is.
int MenuBarTwin(int id);

// The row of a menu-bar id, or null when the window handles the id itself.
const CommandRow* FindCommandRow(int id);

// The "播放速度" item of a speed; 0 when no item offers it.
int SpeedCommandId(int speed);

// Every row, for checks against the other tables.
std::span<const CommandRow> CommandRows();

struct PlaybackMenuRow {
  int state;  // ENGINE_STATE_...
  std::span<const int> enabled;
  std::span<const int> disabled;
  bool playFollowsMedia;  // Play enabled only when the engine knows a medium to replay
};

// The row of an engine state, or null for a state that leaves the menus as
// they are (ABORTED, or an unknown value).
const PlaybackMenuRow* FindPlaybackMenuRow(int state);
