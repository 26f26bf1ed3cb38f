#include "engine/engine_settings.h"

#include <algorithm>

namespace {

constexpr std::size_t kParamsBuffer = 260;
constexpr int kMaxPlayCache = 8192;

}  // namespace

void LoadEngineSettings(IniFile& ini, EngineSettings& s) {
  if (!ini.Exists()) {
    const int playCache = s.playCache;
    s = EngineSettings{};
    s.playCache = playCache;
    s.reIndex = false;  // a fresh installation starts without re-indexing
    SaveEngineSettings(ini, s);
    return;
  }
  int missing = 0;
  auto readInt = [&](const char* key, int& field, int fallback) {
    if (!ini.ReadInt(kEngineSection, key, field)) {
      field = fallback;
      ++missing;
    }
  };
  auto readBool = [&](const char* key, bool& field, bool fallback) {
    if (!ini.ReadBool(kEngineSection, key, field)) {
      field = fallback;
      ++missing;
    }
  };
  readInt("PlayCache", s.playCache, 2048);
  if (s.playCache > kMaxPlayCache) s.playCache = kMaxPlayCache;
  readInt("Volume", s.volume, 100);
  s.volume = std::clamp(s.volume, 0, 100);
  readBool("Mute", s.mute, false);
  readInt("OSDLevel", s.osdLevel, 1);
  readInt("AudioDev", s.audioDev, 0);
  readInt("AudioOut", s.audioOut, 3);
  readInt("AudioID", s.audioId, -1);
  readInt("SubID", s.subId, -1);
  readInt("Postproc", s.postproc, 1);
  readInt("Deinterlace", s.deinterlace, 0);
  readInt("Aspect", s.aspect, 0);
  readBool("ReIndex", s.reIndex, true);
  readBool("SoftVol", s.softVol, false);
  readBool("PriorityBoost", s.priorityBoost, true);
  if (!ini.ReadString(kEngineSection, "Params", s.params, kParamsBuffer)) {
    s.params.clear();
    ++missing;
  }
  if (missing > 0) SaveEngineSettings(ini, s);
}

void SaveEngineSettings(IniFile& ini, const EngineSettings& s) {
  auto number = [](int v) { return std::to_string(v); };
  auto flag = [](bool v) { return std::string(v ? "1" : "0"); };
  ini.WriteStrings(kEngineSection, {{"PlayCache", number(s.playCache)},
                                    {"Volume", number(s.volume)},
                                    {"Mute", flag(s.mute)},
                                    {"OSDLevel", number(s.osdLevel)},
                                    {"AudioDev", number(s.audioDev)},
                                    {"AudioOut", number(s.audioOut)},
                                    {"AudioID", number(s.audioId)},
                                    {"SubID", number(s.subId)},
                                    {"Postproc", number(s.postproc)},
                                    {"Deinterlace", number(s.deinterlace)},
                                    {"Aspect", number(s.aspect)},
                                    {"ReIndex", flag(s.reIndex)},
                                    {"SoftVol", flag(s.softVol)},
                                    {"PriorityBoost", flag(s.priorityBoost)},
                                    {"Params", s.params}});
}
