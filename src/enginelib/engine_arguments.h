#pragma once
#include <string>
#include <vector>

// What the engine library hands to the MPlayer program: the host's argument
// vector made fit for Linux, and the child's environment. Pure functions, so
// the rules are tested without starting anything.

// True when `display` (the value of DISPLAY, may be null) names an X11 display.
bool HaveDisplay(const char* display);

// The host's vector ("kinovue.exe", options..., medium; at least two
// elements) as MPlayer's argv, with `binary` as argv[0]:
// - "-nolirc" is added first;
// - "-vo directx" becomes "-vo xv,x11," with a display, else "-vo null";
//   with a display the picture is scaled to the window ("-zoom") and the
//   subtitles and on-screen text are drawn into the picture by a last filter
//   that also pads it to a multiple of 16 pixels ("-noslices", "-vf-add
//   expand=::::1::16" before the medium), so that a change of the window's
//   size neither loses them nor ends MPlayer;
// - "-ao dsound" becomes "-ao pulse,alsa,null,";
// - "-priority X" is dropped (both elements);
// - "-max N" becomes "-softvol-max N";
// - "-font FILE" (a value with a '/') gets "-nofontconfig" in front, so the
//   file is loaded as it is rather than read as a fontconfig pattern;
// - "-subcp cp936" becomes "-subcp enca:zh:cp936" when `engineHasEnca`, so
//   the engine detects GBK, Big5 and UTF-8 subtitle files, cp936 the fallback;
// - without a display "-wid N" is dropped;
// - everything else keeps its order. The last element is always the medium,
//   never taken as an option value; one that begins with '-' gets "./" in
//   front so MPlayer reads it as a file.
std::vector<std::string> TranslateEngineArguments(const std::string& binary, const std::vector<std::string>& hostArgs,
                                                  bool haveDisplay, bool engineHasEnca);

// The child's environment ("NAME=value" entries) from the parent's (a
// null-terminated array, may be null): everything kept, but the console text
// forced to English with LC_MESSAGES=C. LC_ALL would override that, so it is
// replaced by its value in each of the other categories; LANGUAGE goes too.
std::vector<std::string> BuildEngineEnvironment(const char* const* parentEnv);
