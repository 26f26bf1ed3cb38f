#pragma once
#include <climits>
#include <string>
#include <string_view>

// Small text rules shared by every layer; header-only so that the settings
// store, the engine and the network code use them without linking the
// operating-system code of this folder.
namespace platform {

// The classic atoi reading: leading white space, an optional sign, decimal
// digits up to the first other character; 0 when there are none. Saturates
// at the int range instead of overflowing.
inline int ParseLeadingInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (value <= static_cast<long long>(INT_MAX) + 1) value = value * 10 + (text[i] - '0');
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

// The folder with one '/' at its end; an empty text stays empty (no folder
// is not the root folder).
inline std::string WithTrailingSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace platform
