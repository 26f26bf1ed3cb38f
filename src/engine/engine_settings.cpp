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
  ini.WriteInt(kEngineSection, "PlayCache", s.playCache);
  ini.WriteInt(kEngineSection, "Volume", s.volume);
  ini.WriteBool(kEngineSection, "Mute", s.mute);
  ini.WriteInt(kEngineSection, "OSDLevel", s.osdLevel);
  ini.WriteInt(kEngineSection, "AudioDev", s.audioDev);
  ini.WriteInt(kEngineSection, "AudioOut", s.audioOut);
  ini.WriteInt(kEngineSection, "AudioID", s.audioId);
  ini.WriteInt(kEngineSection, "SubID", s.subId);
  ini.WriteInt(kEngineSection, "Postproc", s.postproc);
  ini.WriteInt(kEngineSection, "Deinterlace", s.deinterlace);
  ini.WriteInt(kEngineSection, "Aspect", s.aspect);
  ini.WriteBool(kEngineSection, "ReIndex", s.reIndex);
  ini.WriteBool(kEngineSection, "SoftVol", s.softVol);
  ini.WriteBool(kEngineSection, "PriorityBoost", s.priorityBoost);
  ini.WriteString(kEngineSection, "Params", s.params);
}
