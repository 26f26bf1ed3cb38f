#pragma once
#include <string>
#include <utility>
#include <vector>

// An INI text held in memory: the server list and the downloaded check file.
// Accepts LF or CR LF, skips lines that are neither "[section]" nor
// "key=value", trims names and values. Section and key names match
// case-insensitively; the first occurrence wins. Never fails: garbage gives
// fewer sections.
struct IniText {
  struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> entries;
  };
  std::vector<Section> sections;

  const Section* Find(const std::string& section) const;
  // Empty when the section or key is missing.
  std::string Value(const std::string& section, const std::string& key) const;
};

IniText ParseIniText(const std::string& bytes);
