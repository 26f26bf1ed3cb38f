#pragma once
#include <string>
#include <vector>

#include "engine/engine_settings.h"
#include "platform/message_window.h"

// The size of the screen the picture is shown on, in device pixels; 0 while
// unknown.
struct ScreenSize {
  int width = 0;
  int height = 0;
};

// The argument vector of one playback run: fixed options, the settings and
// the medium. fontFile is the subtitle font ("-font" is left out when empty).
// The automatic aspect pads the picture to the screen's proportions (4:3
// while the screen is unknown), so that in full screen it fills the screen's
// width or height and the subtitles have the bands.
std::vector<std::string> BuildRunArguments(const EngineSettings& settings, platform::WindowHandle videoWindow,
                                              const std::string& fileName, const std::string& fontFile,
                                              ScreenSize screen = {});

// "W/H" in lowest terms, as the padding filter takes a proportion; "4/3"
// when the size is not a real one.
std::string ScreenProportion(ScreenSize screen);

// A medium on the local file system needs no read-ahead cache.
bool IsLocalMedium(const std::string& fileName);
