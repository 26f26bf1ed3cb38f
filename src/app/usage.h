#pragma once
#include <string>

// What `kinovue --help` and `kinovue --version` print.
namespace app {

// Whether messages are to be Chinese: the first of LC_ALL, LC_MESSAGES and
// LANG that is set and not empty names a Chinese locale ("zh...").
bool IsChineseLocale(const char* lcAll, const char* lcMessages, const char* lang);

// The short usage, ending in a line break.
std::string UsageText(bool chinese);

// "Kinovue <version>" and a line break.
std::string VersionText();

}  // namespace app
