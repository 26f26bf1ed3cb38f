#pragma once
#include <string>
#include <string_view>
#include <vector>

// The text of a freedesktop desktop entry that opens files with a program.
// Pure functions.
namespace platform {

struct DesktopEntry {
  std::string name;
  std::string comment;
  std::string program;  // absolute path of the executable
  std::string icon;     // icon name in the icon theme
  std::vector<std::string> mimeTypes;
};

// The program as one argument of an Exec key, '%' doubled: bare when it
// holds none of the reserved characters, otherwise in double quotes with
// '"', '`', '$' and '\' escaped by '\'. The key's own string escapes
// ("\\", "\n", ...) are applied by FormatDesktopEntry.
std::string ExecArgument(std::string_view program);

// "[Desktop Entry]" with Type, Name, Comment, Exec (program and %F: a selection of files opens at once), Icon,
// Terminal, NoDisplay (file-type handlers, not menu items), Categories and
// MimeType. Line breaks in the texts are escaped, never written.
std::string FormatDesktopEntry(const DesktopEntry& entry);

}  // namespace platform
