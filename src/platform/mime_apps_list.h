#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Edits the "[Default Applications]" section of a freedesktop mimeapps.list
// text. Pure functions: everything but the lines they change stays byte for
// byte (comments, other sections, other programs' lines, line ends).
namespace platform {

// The value for mime ("vlc.desktop;" or a longer list), from the last
// matching line of any "[Default Applications]" section; nullopt when none.
std::optional<std::string> DefaultApplicationIn(std::string_view listText, std::string_view mime);

// One change: set mime's value, or with nullopt remove mime's lines.
using DefaultApplicationChange = std::pair<std::string, std::optional<std::string>>;

// Applies the changes in order. Setting rewrites every matching line, or
// adds one at the end of the first "[Default Applications]" section (made at
// the end of the text when there is none). Changes whose type or value
// contains a line break, or whose type contains '=', are skipped.
std::string WithDefaultApplications(std::string_view listText, const std::vector<DefaultApplicationChange>& changes);

}  // namespace platform
