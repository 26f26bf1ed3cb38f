#include "platform/registry_file.h"

#include <algorithm>
#include <unordered_map>

namespace platform {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7f; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

const char kHex[] = "0123456789abcdef";

// "..." with escapes, starting at text[at] == '"'; at ends after the closing quote.
bool ParseQuoted(std::string_view text, std::size_t& at, std::string& out) {
  if (at >= text.size() || text[at] != '"') return false;
  out.clear();
  for (++at; at < text.size(); ++at) {
    const char c = text[at];
    if (c == '"') {
      ++at;
      return true;
    }
    if (c != '\\') {
      out += c;
      continue;
    }
    if (++at >= text.size()) return false;
    const char e = text[at];
    if (e == '\\' || e == '"') {
      out += e;
    } else if (e == 'x' && at + 2 < text.size() && HexDigit(text[at + 1]) >= 0 && HexDigit(text[at + 2]) >= 0) {
      out += static_cast<char>(HexDigit(text[at + 1]) * 16 + HexDigit(text[at + 2]));
      at += 2;
    } else {
      return false;
    }
  }
  return false;
}

void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '\\' || c == '"') {
      out += '\\';
      out += c;
    } else if (IsControl(b)) {
      out += "\\x";
      out += kHex[b >> 4];
      out += kHex[b & 15];
    } else {
      out += c;
    }
  }
  out += '"';
}

bool ParseHex(std::string_view text, std::string& out) {
  out.clear();
  if (text.empty()) return true;
  for (std::size_t at = 0;; at += 3) {
    if (at + 2 > text.size() || HexDigit(text[at]) < 0 || HexDigit(text[at + 1]) < 0) return false;
    out += static_cast<char>(HexDigit(text[at]) * 16 + HexDigit(text[at + 1]));
    if (at + 2 == text.size()) return true;
    if (text[at + 2] != ',') return false;
  }
}

// Where each key and value read so far sits, by its path in lower case
// ("\a\b" for a key; its path, a zero byte and the name for a value): a
// large file is read in one pass, not searched among the siblings per line.
using PositionIndex = std::unordered_map<std::string, std::size_t>;

RegistryKey& ChildFor(RegistryKey& parent, const std::string& path, const std::string& name, PositionIndex& index) {
  const auto [at, added] = index.try_emplace(path, parent.subkeys.size());
  if (added) parent.subkeys.push_back({name, {}, {}});
  return parent.subkeys[at->second];
}

void SetValueIn(RegistryKey& key, const std::string& keyPath, std::string name, std::string data,
                PositionIndex& index) {
  const auto [at, added] = index.try_emplace(keyPath + '\0' + FoldRegistryName(name), key.values.size());
  if (added) {
    key.values.push_back({std::move(name), std::move(data)});
  } else {
    key.values[at->second].data = std::move(data);
  }
}

// A value line: @=DATA or "name"=DATA.
bool ParseValueLine(std::string_view line, RegistryKey& key, const std::string& keyPath, PositionIndex& index) {
  std::string name;
  std::size_t at = 0;
  if (line[0] == '@') {
    at = 1;
  } else if (!ParseQuoted(line, at, name)) {
    return false;
  }
  if (at >= line.size() || line[at] != '=') return false;
  ++at;
  std::string data;
  if (at < line.size() && line[at] == '"') {
    if (!ParseQuoted(line, at, data) || at != line.size()) return false;
    data += '\0';
  } else if (line.substr(at, 4) == "hex:") {
    if (!ParseHex(line.substr(at + 4), data)) return false;
  } else {
    return false;
  }
  SetValueIn(key, keyPath, std::move(name), std::move(data), index);
  return true;
}

void FormatKey(const RegistryKey& key, const std::string& path, std::string& out) {
  out += '[';
  out += path;
  out += "]\n";
  for (const RegistryValue& value : key.values) {
    if (value.name.empty()) {
      out += '@';
    } else {
      AppendQuoted(out, value.name);
    }
    out += '=';
    const std::string_view data = value.data;
    if (!data.empty() && data.back() == '\0' && data.find('\0') == data.size() - 1) {
      AppendQuoted(out, data.substr(0, data.size() - 1));
    } else {
      out += "hex:";
      for (std::size_t i = 0; i < data.size(); ++i) {
        if (i) out += ',';
        out += kHex[static_cast<unsigned char>(data[i]) >> 4];
        out += kHex[static_cast<unsigned char>(data[i]) & 15];
      }
    }
    out += '\n';
  }
  for (const RegistryKey& child : key.subkeys) FormatKey(child, path + '\\' + child.name, out);
}

}  // namespace

bool SameRegistryName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

std::string FoldRegistryName(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) c = Lower(c);
  return folded;
}

bool ValidKeyName(std::string_view name) {
  if (name.empty() || name.size() > kRegistryMaxKeyName) return false;
  return std::none_of(name.begin(), name.end(),
                      [](char c) { return c == '\\' || IsControl(static_cast<unsigned char>(c)); });
}

bool SplitKeyPath(std::string_view path, std::vector<std::string>& names) {
  names.clear();
  if (path.empty()) return true;
  for (;;) {
    const std::size_t slash = path.find('\\');
    const std::string_view name = path.substr(0, slash);
    if (!ValidKeyName(name) || names.size() == kRegistryMaxDepth) {
      names.clear();
      return false;
    }
    names.emplace_back(name);
    if (slash == std::string_view::npos) return true;
    path.remove_prefix(slash + 1);
  }
}

bool ParseRegistryText(std::string_view text, RegistryKey& root) {
  root = RegistryKey{};
  if (text.empty()) return true;
  if (text.size() > kRegistryMaxFileBytes) return false;
  RegistryKey* current = nullptr;
  std::string currentPath;
  PositionIndex index;
  bool first = true;
  std::vector<std::string> names;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    bool ok = true;
    if (first) {
      ok = line == kRegistrySignature;
      first = false;
    } else if (line.empty() || line[0] == ';') {
      continue;
    } else if (line[0] == '[') {
      ok = line.size() > 2 && line.back() == ']' && SplitKeyPath(line.substr(1, line.size() - 2), names);
      if (ok) {
        current = &root;
        currentPath.clear();
        for (const std::string& name : names) {
          currentPath += '\\';
          currentPath += FoldRegistryName(name);
          current = &ChildFor(*current, currentPath, name, index);
        }
      }
    } else {
      ok = current && ParseValueLine(line, *current, currentPath, index);
    }
    if (!ok) {
      root = RegistryKey{};
      return false;
    }
  }
  return true;
}

std::string FormatRegistryText(const RegistryKey& root) {
  std::string out(kRegistrySignature);
  out += '\n';
  for (const RegistryKey& key : root.subkeys) FormatKey(key, key.name, out);
  return out;
}

}  // namespace platform
