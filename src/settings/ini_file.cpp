#include "settings/ini_file.h"

#include <QFileInfo>
#include <cerrno>
#include <string_view>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/bounded_file.h"
#include "platform/text_rules.h"
#include "settings/save_failures.h"

namespace {

constexpr std::size_t kIntTextLimit = 31;  // ReadInt reads at most this many characters

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// Names and values are stored on one line each; a line break or NUL in them
// would let one setting rewrite the file's structure.
bool StorableText(std::string_view s) { return s.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos; }

// The file as lines (CR LF or LF; NUL bytes are kept inside lines and do not
// end the file). A missing file has no lines; false when a file is there but
// cannot be read (not a regular file, over the cap, unreadable): a rewrite
// would then lose what it holds.
bool ReadLines(const std::string& path, std::vector<std::string>& lines) {
  lines.clear();
  std::string data;
  const platform::FileRead read = platform::ReadRegularFile(path, platform::kMaxSettingsFileBytes, data);
  if (read == platform::FileRead::kMissing) return true;
  if (read != platform::FileRead::kRead) return false;
  std::string_view rest(data);
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return true;
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  ReadLines(path, lines);
  return lines;
}

// Replaces the file; a failure leaves the old one whole and is reported.
bool WriteLines(const std::string& path, const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += '\n';
  }
  const int error = platform::WriteFileAtomically(path, text);
  if (error) settings::ReportSaveFailure(path, error);
  return error == 0;
}

// Reads the file for a rewrite; a file that cannot be read is not rewritten.
bool ReadForRewrite(const std::string& path, std::vector<std::string>& lines) {
  if (ReadLines(path, lines)) return true;
  settings::ReportSaveFailure(path, EINVAL);
  return false;
}

// "[name]" with optional surrounding blanks; the name is trimmed.
bool SectionHeader(std::string_view line, std::string_view& name) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[') return false;
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos) return false;
  name = Trim(line.substr(1, close - 1));
  return true;
}

// "key=value": both trimmed. Lines without '=' are not key lines.
bool KeyLine(std::string_view line, std::string_view& key, std::string_view& value) {
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  key = Trim(line.substr(0, eq));
  value = Trim(line.substr(eq + 1));
  return true;
}

// Index range [begin, end) of the body of the first section with that name;
// begin is npos when the section is absent. begin - 1 is the header line.
struct SectionSpan {
  std::size_t begin = std::string::npos;
  std::size_t end = 0;
};

SectionSpan FindSection(const std::vector<std::string>& lines, std::string_view section) {
  SectionSpan span;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view name;
    if (!SectionHeader(lines[i], name)) continue;
    if (span.begin != std::string::npos) {
      span.end = i;
      return span;
    }
    if (EqualNoCase(name, section)) span.begin = i + 1;
  }
  if (span.begin != std::string::npos) span.end = lines.size();
  return span;
}

// Index of the key's line inside the span, or npos.
std::size_t FindKey(const std::vector<std::string>& lines, SectionSpan span, std::string_view key) {
  for (std::size_t i = span.begin; i < span.end; ++i) {
    std::string_view k, v;
    if (KeyLine(lines[i], k, v) && EqualNoCase(k, key)) return i;
  }
  return std::string::npos;
}

}  // namespace

bool IniFile::SetPath(const std::string& path) {
  path_ = path;
  return true;
}

bool IniFile::Exists() const {
  if (path_.empty()) return false;
  return QFileInfo(QString::fromStdString(path_)).isFile();
}

bool IniFile::DeleteSection(const std::string& section) {
  if (path_.empty()) return true;
  std::vector<std::string> lines;
  if (!ReadForRewrite(path_, lines)) return true;
  bool changed = false;
  for (SectionSpan span = FindSection(lines, section); span.begin != std::string::npos;
       span = FindSection(lines, section)) {
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(span.begin - 1),
                lines.begin() + static_cast<std::ptrdiff_t>(span.end));
    changed = true;
  }
  if (changed) WriteLines(path_, lines);
  return true;
}

IniSection IniFile::ReadSection(const std::string& section) const {
  IniSection result;
  if (path_.empty()) return result;
  const std::vector<std::string> lines = ReadLines(path_);
  const SectionSpan span = FindSection(lines, section);
  if (span.begin == std::string::npos) return result;
  for (std::size_t i = span.begin; i < span.end; ++i) {
    std::string_view k, v;
    if (!KeyLine(lines[i], k, v)) continue;
    // One surrounding pair of quotes is the value's wrapping, not its text:
    // Params="-vf eq2" is the two words -vf eq2.
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) v = v.substr(1, v.size() - 2);
    result.entries_.emplace_back(k, v);
  }
  return result;
}

bool IniFile::ReadString(const std::string& section, const std::string& key, std::string& value,
                         std::size_t size) const {
  return ReadSection(section).ReadString(key, value, size);
}

bool IniFile::ReadInt(const std::string& section, const std::string& key, int& value) const {
  return ReadSection(section).ReadInt(key, value);
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool& value) const {
  return ReadSection(section).ReadBool(key, value);
}

bool IniSection::ReadString(const std::string& key, std::string& value, std::size_t size) const {
  value.clear();
  if (size == 0) return false;
  // The first line with the key counts, as in the file's own lookup.
  for (const auto& [k, v] : entries_) {
    if (!EqualNoCase(k, key)) continue;
    value.assign(v.substr(0, size - 1));
    return !value.empty();
  }
  return false;
}

bool IniSection::ReadInt(const std::string& key, int& value) const {
  std::string text;
  if (!ReadString(key, text, kIntTextLimit + 1)) return false;
  value = platform::ParseLeadingInt(text);
  return true;
}

bool IniSection::ReadBool(const std::string& key, bool& value) const {
  int number = 0;
  if (!ReadInt(key, number)) return false;
  value = number != 0;
  return true;
}

bool IniFile::WriteString(const std::string& section, const std::string& key, const std::string& text) {
  return WriteStrings(section, {{key, text}});
}

bool IniFile::WriteStrings(const std::string& section,
                           const std::vector<std::pair<std::string, std::string>>& entries) {
  if (path_.empty() || section.empty() || !StorableText(section) || section.find(']') != std::string::npos)
    return false;
  for (const auto& [key, text] : entries) {
    if (key.empty() || !StorableText(key) || !StorableText(text) || key.find('=') != std::string::npos) return false;
  }
  std::vector<std::string> lines;
  if (!ReadForRewrite(path_, lines)) return false;
  for (const auto& [key, text] : entries) {
    const std::string entry = key + "=" + text;
    const SectionSpan span = FindSection(lines, section);
    if (span.begin == std::string::npos) {
      lines.push_back("[" + section + "]");
      lines.push_back(entry);
    } else if (const std::size_t at = FindKey(lines, span, key); at != std::string::npos) {
      lines[at] = entry;
    } else {
      // After the section's last non-blank line, so blank separators stay between sections.
      std::size_t insert = span.end;
      while (insert > span.begin && Trim(lines[insert - 1]).empty()) --insert;
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insert), entry);
    }
  }
  return WriteLines(path_, lines);
}

bool IniFile::WriteInt(const std::string& section, const std::string& key, int value) {
  return WriteString(section, key, std::to_string(value));
}

bool IniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  return WriteString(section, key, value ? "1" : "0");
}
