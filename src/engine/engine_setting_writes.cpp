#include "engine/engine_setting_writes.h"

void WritePlayCache(IniFile& ini, const EngineSettings& s) { ini.WriteInt(kEngineSection, "PlayCache", s.playCache); }
void WriteVolume(IniFile& ini, const EngineSettings& s) { ini.WriteInt(kEngineSection, "Volume", s.volume); }
void WriteMute(IniFile& ini, const EngineSettings& s) { ini.WriteBool(kEngineSection, "Mute", s.mute); }
void WriteOsdLevel(IniFile& ini, const EngineSettings& s) { ini.WriteInt(kEngineSection, "OSDLevel", s.osdLevel); }
void WriteAspect(IniFile& ini, const EngineSettings& s) { ini.WriteInt(kEngineSection, "Aspect", s.aspect); }
void WriteDeinterlace(IniFile& ini, const EngineSettings& s) {
  ini.WriteInt(kEngineSection, "Deinterlace", s.deinterlace);
}
