#include "engine/engine_settings.h"

#include "engine/playback_speed.h"

namespace {

using Row = SettingRow<EngineSettings>;
using E = EngineSettings;

// key, field, first start, key missing, range (texts: bytes read back).
// A first start keeps the play cache the engine holds (0: "-cache" 2048) and
// does not re-index.
constexpr Row kRows[] = {
    {"PlayCache", &E::playCache, std::nullopt, 2048, INT_MIN, 8192},
    {"Volume", &E::volume, 100, 100, 0, 100},
    {"Mute", &E::mute, false, false},
    {"OSDLevel", &E::osdLevel, 1, 1},
    {"AudioDev", &E::audioDev, 0, 0},
    {"AudioOut", &E::audioOut, 3, 3},
    {"AudioID", &E::audioId, -1, -1},
    {"SubID", &E::subId, -1, -1},
    {"Postproc", &E::postproc, 1, 1},
    {"Deinterlace", &E::deinterlace, 0, 0},
    {"Aspect", &E::aspect, 0, 0},
    {"ReIndex", &E::reIndex, false, true},
    {"SoftVol", &E::softVol, false, false},
    {"PriorityBoost", &E::priorityBoost, true, true},
    {"Params", &E::params, {}, {}, 0, 259},
    {"Speed", &E::speed, kNormalSpeed, kNormalSpeed, kSlowestSpeed, kFastestSpeed},
};

}  // namespace

SettingRows<EngineSettings> EngineSettingRows() { return kRows; }

void LoadEngineSettings(IniFile& ini, EngineSettings& settings) {
  LoadSettingRows(ini, kEngineSection, EngineSettingRows(), settings);
}

void SaveEngineSettings(IniFile& ini, const EngineSettings& settings) {
  SaveSettingRows(ini, kEngineSection, EngineSettingRows(), settings);
}

int StoredPlayCache(const IniFile& ini) {
  int stored = 0;
  ReadSettingRow(ini, kEngineSection, EngineSettingRows(), &EngineSettings::playCache, stored);
  return stored;
}
