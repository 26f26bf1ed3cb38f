#pragma once
#include "engine/engine_settings.h"
#include "settings/ini_file.h"

// The single keys of section "mplayer" the engine stores the moment they
// change; the whole section is written by SaveEngineSettings.
void WritePlayCache(IniFile& ini, const EngineSettings& settings);
void WriteVolume(IniFile& ini, const EngineSettings& settings);
void WriteMute(IniFile& ini, const EngineSettings& settings);
void WriteOsdLevel(IniFile& ini, const EngineSettings& settings);
void WriteAspect(IniFile& ini, const EngineSettings& settings);
void WriteDeinterlace(IniFile& ini, const EngineSettings& settings);
