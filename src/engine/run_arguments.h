#pragma once
#include <string>
#include <vector>

#include "engine/engine_settings.h"
#include "platform/message_window.h"

// The argument vector of one playback run: fixed options, the settings and
// the medium. fontFile is the subtitle font ("-font" is left out when empty).
std::vector<std::string> BuildRunArguments(const EngineSettings& settings, platform::WindowHandle videoWindow,
                                              const std::string& fileName, const std::string& fontFile);

// A medium on the local file system needs no read-ahead cache.
bool IsLocalMedium(const std::string& fileName);
