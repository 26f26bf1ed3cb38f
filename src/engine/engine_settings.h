#pragma once
#include <string>

#include "settings/ini_file.h"
#include "settings/setting_rows.h"

// The engine's section "mplayer" of the settings file.
inline constexpr const char* kEngineSection = "mplayer";

// The values an engine has before it loads its section.
struct EngineSettings {
  int playCache = 0;         // KB; below 1 means 2048 for "-cache"
  bool reIndex = true;       // "-idx"
  bool softVol = false;      // "-softvol"
  bool priorityBoost = true; // "-priority"
  int audioOut = 3;          // above 0 allows "-aid"; above 1 re-sends the volume at each run
  int audioDev = 0;          // stored only
  int audioId = -1;          // "-aid" when 0 or more
  int subId = -1;            // "-sid" when 0 or more
  int osdLevel = 1;
  int aspect = 0;            // 0 automatic, 1 4:3, 2 16:9, 3 16:10
  int channels = 0;          // 0 stereo, 1 left, 2 right; never stored
  int postproc = 1;
  int deinterlace = 0;       // 0 off, 1 simple, 2 adaptive
  std::string params;        // extra engine arguments, at most 259 characters
  int volume = 100;          // 0..100
  bool mute = false;
  int speed = 100;           // percent of normal speed, 50..200
};

// Every stored key of the section, in the order of the file.
SettingRows<EngineSettings> EngineSettingRows();

// Loads the section. With no file: the first-start values (playCache kept)
// and the whole section written. Otherwise the section is read once; a
// missing or empty key takes its default, and if any did, the whole section
// is written back so the file ends up complete. PlayCache is capped at 8192,
// Volume clamped to 0..100.
void LoadEngineSettings(IniFile& ini, EngineSettings& settings);

// Writes every key of the section, in the order of the file.
void SaveEngineSettings(IniFile& ini, const EngineSettings& settings);

// Writes the one key of that field, e.g. WriteEngineSetting(ini, s, &EngineSettings::volume).
template <class T>
bool WriteEngineSetting(IniFile& ini, const EngineSettings& settings, T EngineSettings::*field) {
  return WriteSettingRow(ini, kEngineSection, EngineSettingRows(), settings, field);
}

// The stored "PlayCache" as it is in the file (not capped); 0 when missing.
int StoredPlayCache(const IniFile& ini);
