#pragma once
#include <algorithm>
#include <climits>
#include <optional>
#include <span>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "settings/ini_file.h"

// One key of a settings section, written once: its name, the field that
// holds it, its value at a first start (no settings file), its value when the
// key is missing or empty, and the range a loaded number is held to. Loading,
// saving and the single writes of a section all go through its rows, so a key
// is spelled in one place.
template <class Settings>
struct SettingRow {
  const char* key;
  std::variant<int Settings::*, bool Settings::*, std::string Settings::*> member;
  std::optional<int> fileAbsent;  // nullopt: the held value is kept; texts start empty
  int keyMissing = 0;             // texts: empty
  int min = INT_MIN;
  int max = INT_MAX;              // texts: the longest value read back, in bytes
};

template <class Settings>
using SettingRows = std::span<const SettingRow<Settings>>;

// The value as the file stores it: decimal, "1"/"0", or the text itself.
template <class Settings>
std::string SettingText(const SettingRow<Settings>& row, const Settings& settings) {
  return std::visit(
      [&](auto member) -> std::string {
        const auto& value = settings.*member;
        using T = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<T, bool>) return value ? "1" : "0";
        else if constexpr (std::is_same_v<T, int>) return std::to_string(value);
        else return value;
      },
      row.member);
}

// Every key of the section, in the rows' order, in one rewrite of the file.
template <class Settings>
bool SaveSettingRows(IniFile& ini, const char* section, SettingRows<Settings> rows, const Settings& settings) {
  std::vector<std::pair<std::string, std::string>> entries;
  for (const auto& row : rows) entries.emplace_back(row.key, SettingText(row, settings));
  return ini.WriteStrings(section, entries);
}

// The first-start values of the rows that have one.
template <class Settings>
void ApplyFileAbsentValues(SettingRows<Settings> rows, Settings& settings) {
  for (const auto& row : rows) {
    std::visit(
        [&](auto member) {
          auto& field = settings.*member;
          using T = std::decay_t<decltype(field)>;
          if constexpr (std::is_same_v<T, std::string>) field.clear();
          else if (row.fileAbsent) field = static_cast<T>(*row.fileAbsent);
        },
        row.member);
  }
}

// No file (or a folder in its place): the first-start values, all written.
// Otherwise the section is read once; a missing or empty key takes its
// missing-key value and makes the whole section be written back, once.
// Numbers are held to their range in memory only; that alone writes nothing.
template <class Settings>
void LoadSettingRows(IniFile& ini, const char* section, SettingRows<Settings> rows, Settings& settings) {
  if (!ini.Exists()) {
    ApplyFileAbsentValues(rows, settings);
    SaveSettingRows(ini, section, rows, settings);
    return;
  }
  const IniSection stored = ini.ReadSection(section);
  int missing = 0;
  for (const auto& row : rows) {
    std::visit(
        [&](auto member) {
          auto& field = settings.*member;
          using T = std::decay_t<decltype(field)>;
          bool found = false;
          if constexpr (std::is_same_v<T, std::string>) {
            found = stored.ReadString(row.key, field, static_cast<std::size_t>(row.max) + 1);
          } else if constexpr (std::is_same_v<T, bool>) {
            found = stored.ReadBool(row.key, field);
            if (!found) field = row.keyMissing != 0;
          } else {
            found = stored.ReadInt(row.key, field);
            if (!found) field = row.keyMissing;
            field = std::clamp(field, row.min, row.max);
          }
          if (!found) ++missing;
        },
        row.member);
  }
  if (missing > 0) SaveSettingRows(ini, section, rows, settings);
}

// The row of a field; null when the field has none (not stored).
template <class Settings, class T>
const SettingRow<Settings>* FindSettingRow(SettingRows<Settings> rows, T Settings::*member) {
  for (const auto& row : rows) {
    if (const auto* held = std::get_if<T Settings::*>(&row.member); held && *held == member) return &row;
  }
  return nullptr;
}

// One key written with its field's current value.
template <class Settings, class T>
bool WriteSettingRow(IniFile& ini, const char* section, SettingRows<Settings> rows, const Settings& settings,
                     T Settings::*member) {
  const SettingRow<Settings>* row = FindSettingRow(rows, member);
  return row && ini.WriteString(section, row->key, SettingText(*row, settings));
}

// One key read as the file stores it (numbers not held to their range);
// false, with value untouched, when it is missing or empty.
template <class Settings, class T>
bool ReadSettingRow(const IniFile& ini, const char* section, SettingRows<Settings> rows, T Settings::*member,
                    T& value) {
  const SettingRow<Settings>* row = FindSettingRow(rows, member);
  if (!row) return false;
  T read{};
  bool found = false;
  if constexpr (std::is_same_v<T, bool>) found = ini.ReadBool(section, row->key, read);
  else found = ini.ReadInt(section, row->key, read);
  if (found) value = read;
  return found;
}
