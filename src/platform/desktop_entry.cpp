#include "platform/desktop_entry.h"

namespace platform {

namespace {

// The escapes of a desktop entry's string values.
std::string EscapeValue(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default: out += c;
    }
  }
  return out;
}

// ';' separates list items; an item cannot hold one.
std::string ListValue(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& item : items) {
    if (item.empty() || item.find(';') != std::string::npos) continue;
    out += EscapeValue(item);
    out += ';';
  }
  return out;
}

}  // namespace

std::string ExecArgument(std::string_view program) {
  // Tools that read Exec naively (xdg-mime) cope only with a bare path, so
  // quotes are used only where the reserved characters require them.
  const bool quote = program.empty() || program.find_first_of(" \t\n\"'\\><~|&;$*?#()`") != std::string_view::npos;
  std::string out = quote ? "\"" : "";
  for (const char c : program) {
    if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) out += '\\';
    out += c;
    if (c == '%') out += '%';
  }
  if (quote) out += '"';
  return out;
}

std::string FormatDesktopEntry(const DesktopEntry& entry) {
  std::string text = "[Desktop Entry]\nType=Application\n";
  text += "Name=" + EscapeValue(entry.name) + "\n";
  text += "Comment=" + EscapeValue(entry.comment) + "\n";
  text += "Exec=" + EscapeValue(ExecArgument(entry.program) + " %F") + "\n";
  text += "Icon=" + EscapeValue(entry.icon) + "\n";
  text += "Terminal=false\nNoDisplay=true\nCategories=AudioVideo;Player;\n";
  text += "MimeType=" + ListValue(entry.mimeTypes) + "\n";
  return text;
}

}  // namespace platform
