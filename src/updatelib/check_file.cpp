#include "updatelib/check_file.h"

#include <QDate>
#include <QDateTime>
#include <set>

#include "updatelib/ini_text.h"

namespace {

bool IsId(const std::string& text) {
  if (text.empty() || text.size() > 64) return false;
  for (char c : text) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                    c == '-' || c == '.';
    if (!ok) return false;
  }
  return true;
}

// YYYYMMDD naming a real day.
bool ParseDate(const std::string& text, std::int64_t& value) {
  std::int64_t date = 0;
  if (text.size() != 8 || !ParseDecimal(text, date)) return false;
  if (!QDate(static_cast<int>(date / 10000), static_cast<int>(date / 100 % 100), static_cast<int>(date % 100))
           .isValid()) {
    return false;
  }
  value = date;
  return true;
}

bool IsSha256(const std::string& text) {
  if (text.size() != 64) return false;
  for (char c : text) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

}  // namespace

bool ParseDecimal(const std::string& text, std::int64_t& value) {
  if (text.empty() || text.size() > 18) return false;
  std::int64_t result = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    result = result * 10 + (c - '0');
  }
  value = result;
  return true;
}

bool IsCurrentList(const CheckFile& list, std::int64_t today, std::string& error) {
  if (list.expires >= today) return true;
  error = "the list expired on " + std::to_string(list.expires) + " (today is " + std::to_string(today) + ")";
  return false;
}

std::int64_t TodayUtc() {
  const QDate today = QDateTime::currentDateTimeUtc().date();
  return today.year() * 10000ll + today.month() * 100 + today.day();
}

bool IsSafeRelativeName(const std::string& name) {
  if (name.empty() || name.size() > 4095 || name.front() == '/') return false;
  for (unsigned char c : name) {
    if (c < 0x20 || c == 0x7F || c == '\\') return false;
  }
  std::size_t start = 0;
  for (;;) {
    const std::size_t slash = name.find('/', start);
    const std::string part = name.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    if (part.empty() || part == "." || part == "..") return false;
    if (slash == std::string::npos) return true;
    start = slash + 1;
  }
}

bool ParseCheckFile(const std::string& bytes, CheckFile& out, std::string& error) {
  if (bytes.size() > kMaxCheckFileSize) {
    error = "check file too large";
    return false;
  }
  const IniText ini = ParseIniText(bytes);
  CheckFile result;
  if (!ParseDecimal(ini.Value("update_info", "group_ver"), result.groupVersion)) {
    error = "no valid group_ver";
    return false;
  }
  if (!ParseDate(ini.Value("update_info", "expires"), result.expires)) {
    error = "no valid expiry date (expires=YYYYMMDD)";
    return false;
  }
  std::set<std::string> names;
  for (const IniText::Section& section : ini.sections) {
    if (section.name == "update_info") continue;
    UpdateFileEntry entry;
    entry.id = section.name;
    entry.name = ini.Value(section.name, "name");
    entry.sha256 = ini.Value(section.name, "sha256");
    const std::string restart = ini.Value(section.name, "restart");
    if (!IsId(entry.id)) {
      error = "bad file id [" + entry.id + "]";
      return false;
    }
    if (!IsSafeRelativeName(entry.name)) {
      error = "unsafe file name in [" + entry.id + "]";
      return false;
    }
    if (!ParseDecimal(ini.Value(section.name, "version"), entry.version) ||
        !ParseDecimal(ini.Value(section.name, "size"), entry.size) || entry.size > kMaxUpdateFileSize ||
        !IsSha256(entry.sha256) || !(restart.empty() || restart == "0" || restart == "1")) {
      error = "bad version, size, sha256 or restart in [" + entry.id + "]";
      return false;
    }
    if (!names.insert(entry.name).second) {
      error = "file named twice: " + entry.name;
      return false;
    }
    entry.restart = restart == "1";
    result.files.push_back(entry);
  }
  out = result;
  return true;
}
