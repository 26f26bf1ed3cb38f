#include "platform/mime_apps_list.h"

namespace platform {

namespace {

constexpr std::string_view kSection = "[Default Applications]";

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// Lines without their '\n'; a final '\n' leaves an empty last line, so
// joining with '\n' gives the text back exactly.
std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  for (;;) {
    const std::size_t end = text.find('\n');
    lines.emplace_back(text.substr(0, end));
    if (end == std::string_view::npos) return lines;
    text.remove_prefix(end + 1);
  }
}

bool IsHeader(std::string_view line) {
  line = Trim(line);
  return !line.empty() && line.front() == '[';
}

bool IsDefaultSection(std::string_view line) { return Trim(line) == kSection; }

// The line sets mime: "mime=value" with blanks allowed around '='.
bool KeyOf(std::string_view line, std::string_view mime, std::string_view* value = nullptr) {
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos || Trim(line.substr(0, eq)) != mime) return false;
  if (value) *value = Trim(line.substr(eq + 1));
  return true;
}

bool Storable(std::string_view s) { return s.find_first_of("\r\n") == std::string_view::npos; }

}  // namespace

std::optional<std::string> DefaultApplicationIn(std::string_view listText, std::string_view mime) {
  std::optional<std::string> found;
  bool inSection = false;
  for (const std::string& line : Lines(listText)) {
    if (IsHeader(line)) {
      inSection = IsDefaultSection(line);
      continue;
    }
    std::string_view value;
    if (inSection && KeyOf(line, mime, &value)) found = std::string(value);
  }
  return found;
}

std::string WithDefaultApplications(std::string_view listText, const std::vector<DefaultApplicationChange>& changes) {
  std::vector<std::string> lines = Lines(listText);
  for (const auto& [mime, value] : changes) {
    if (mime.empty() || !Storable(mime) || mime.find('=') != std::string::npos || (value && !Storable(*value)))
      continue;
    bool inSection = false;
    bool inFirst = false;
    bool replaced = false;
    std::size_t insertAt = std::string::npos;  // after the first section's last non-blank line
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (IsHeader(lines[i])) {
        inSection = IsDefaultSection(lines[i]);
        inFirst = inSection && insertAt == std::string::npos;
        if (inFirst) insertAt = i + 1;
        continue;
      }
      if (inFirst && !Trim(lines[i]).empty()) insertAt = i + 1;
      if (!inSection || !KeyOf(lines[i], mime)) continue;
      if (value) {
        lines[i] = mime + "=" + *value;
        replaced = true;
      } else {
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
        --i;
      }
    }
    if (!value || replaced) continue;
    if (insertAt == std::string::npos) {
      // A new section at the end, after a blank line when there is text.
      if (lines.back().empty()) lines.pop_back();
      if (!lines.empty() && !Trim(lines.back()).empty()) lines.emplace_back();
      lines.emplace_back(kSection);
      lines.push_back(mime + "=" + *value);
      lines.emplace_back();
    } else {
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), mime + "=" + *value);
    }
  }
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i) text += '\n';
    text += lines[i];
  }
  return text;
}

}  // namespace platform
