#include "updatelib/ini_text.h"

#include <algorithm>

namespace {

std::string Trim(const std::string& text) {
  const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && space(text[begin])) ++begin;
  while (end > begin && space(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}

}  // namespace

const IniText::Section* IniText::Find(const std::string& section) const {
  for (const Section& s : sections) {
    if (SameName(s.name, section)) return &s;
  }
  return nullptr;
}

std::string IniText::Value(const std::string& section, const std::string& key) const {
  const Section* s = Find(section);
  if (!s) return {};
  for (const auto& [name, value] : s->entries) {
    if (SameName(name, key)) return value;
  }
  return {};
}

IniText ParseIniText(const std::string& bytes) {
  IniText ini;
  IniText::Section* current = nullptr;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    const std::string line = Trim(bytes.substr(start, end - start));
    start = end + 1;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      const std::string name = Trim(line.substr(1, line.size() - 2));
      current = nullptr;
      for (IniText::Section& s : ini.sections) {
        if (SameName(s.name, name)) current = &s;
      }
      if (!current) {
        ini.sections.push_back({name, {}});
        current = &ini.sections.back();
      }
      continue;
    }
    const std::size_t equals = line.find('=');
    if (!current || equals == std::string::npos || line[0] == ';' || line[0] == '#') continue;
    const std::string key = Trim(line.substr(0, equals));
    if (key.empty()) continue;
    current->entries.emplace_back(key, Trim(line.substr(equals + 1)));
  }
  return ini;
}
