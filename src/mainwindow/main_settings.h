#pragma once
#include <string>

#include "settings/ini_file.h"
#include "settings/setting_rows.h"

// The main window's preferences, section "kinovue" of the settings file.
inline constexpr const char* kMainSection = "kinovue";

// Starts with the first-start values of the rows.
struct MainSettings {
  MainSettings();

  std::string LastOpen;      // last file or address opened through a dialog
  int VideoMutiple;          // 1 native size, 2 double size
  bool Topmost;              // keep on top while playing
  bool LockFaceProportion;   // loaded and saved only
  bool PlayListRandom;
  bool RepeatCurrent;
  bool PlayListLoop;
  bool PlayListForward;
  bool AutoPlayFromList;
  bool PlayFromList;
  bool CheckFileAssociate;
  bool AutoUpdate;
  bool RememberPlayPosition;  // "记住播放位置": local files pick up where they were left
};

// Every key of the section, in the order of the file.
SettingRows<MainSettings> MainSettingRows();

// No file (or a folder in its place): the first-start values, all written.
// Otherwise the section is read once; a missing or empty key takes its
// default and makes the whole section be written back. VideoMutiple outside
// 1..2 is corrected in memory only.
void LoadMainSettings(IniFile& ini, MainSettings& settings);
void SaveMainSettings(IniFile& ini, const MainSettings& settings);

// Reads (as stored) or writes the one key of that field, e.g. WriteMainSetting(ini, s, &MainSettings::Topmost).
template <class T>
bool ReadMainSetting(const IniFile& ini, T MainSettings::*field, T& value) {
  return ReadSettingRow(ini, kMainSection, MainSettingRows(), field, value);
}
template <class T>
bool WriteMainSetting(IniFile& ini, const MainSettings& settings, T MainSettings::*field) {
  return WriteSettingRow(ini, kMainSection, MainSettingRows(), settings, field);
}
