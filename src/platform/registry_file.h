#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The text form of the per-user registry file: a tree of keys, each with
// named values holding raw bytes. Pure functions, no file access.
//
//   Kinovue classes 1
//   [kinovue_0\shell]
//   @="open"                 text: the bytes between the quotes plus a terminating zero byte
//   "PrevValue"=hex:61,62    raw bytes exactly (here "ab" without a zero byte); "hex:" alone is zero bytes
//
// The first line is the signature; blank lines and lines starting with ';'
// are ignored. A header names a key by its full path, names separated by
// '\'; its parents exist with it. "@" is the default value (the value with
// the empty name). In quoted text, '\\', '\"' and '\xHH' are the escapes.
// Key and value names match without regard to ASCII case.
namespace platform {

struct RegistryValue {
  std::string name;  // empty: the key's default value
  std::string data;  // raw bytes; a string value ends in its zero byte
};

struct RegistryKey {
  std::string name;
  std::vector<RegistryValue> values;
  std::vector<RegistryKey> subkeys;
};

inline constexpr std::string_view kRegistrySignature = "Kinovue classes 1";
inline constexpr std::size_t kRegistryMaxKeyName = 255;   // bytes of one key name
inline constexpr std::size_t kRegistryMaxDepth = 512;     // names in one key path
inline constexpr std::size_t kRegistryMaxFileBytes = 16u << 20;

bool SameRegistryName(std::string_view a, std::string_view b);
// The name with ASCII letters in lower case: names equal by SameRegistryName
// fold to the same text (for indexes).
std::string FoldRegistryName(std::string_view name);

// A usable key name: 1..255 bytes, no '\' and no control characters.
bool ValidKeyName(std::string_view name);

// The names of a key path ("a\b\c"); empty when the path is malformed
// (empty names, too deep). The empty path is the root and gives no names.
bool SplitKeyPath(std::string_view path, std::vector<std::string>& names);

// Builds the tree under root (root's own name stays empty). False when the
// text is damaged in any way (no signature, a line that is neither a
// header nor a value, a bad escape, a value before any header, a name out of
// limits, more than kRegistryMaxFileBytes); root is then empty. Empty text
// is an empty tree.
bool ParseRegistryText(std::string_view text, RegistryKey& root);

// The text of the tree; ParseRegistryText of it gives the same tree.
std::string FormatRegistryText(const RegistryKey& root);

}  // namespace platform
