#pragma once
#include <string>

#include "settings/ini_file.h"

// The main window's preferences, section "kinovue" of the settings file.
inline constexpr const char* kMainSection = "kinovue";

struct MainSettings {
  std::string LastOpen;           // last file or address opened through a dialog
  int VideoMutiple = 1;           // 1 native size, 2 double size
  bool Topmost = true;            // keep on top while playing
  bool LockFaceProportion = true; // loaded and saved only
  bool PlayListRandom = false;
  bool RepeatCurrent = false;
  bool PlayListLoop = true;
  bool PlayListForward = true;
  bool AutoPlayFromList = true;
  bool PlayFromList = true;
  bool CheckFileAssociate = true;
  bool AutoUpdate = true;
};

// No file (or a folder in its place): the constructor values, all written.
// Otherwise each key is read; a missing or empty one takes its default and
// makes the whole section be written back. VideoMutiple outside 1..2 is
// corrected in memory only.
void LoadMainSettings(IniFile& ini, MainSettings& settings);
void SaveMainSettings(IniFile& ini, const MainSettings& settings);
