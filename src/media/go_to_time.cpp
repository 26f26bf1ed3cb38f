#include "media/go_to_time.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// "%2d" above 9, else "0" and "%d".
void AppendPart(std::string& text, int value) {
  if (value <= 9) text += '0';
  text += std::to_string(value);
}

bool IsSpace(char32_t c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// atoi over the two characters at first: white space, sign, digits.
int ReadPart(const std::u32string& text, std::size_t first) {
  std::size_t i = first;
  const std::size_t end = first + 2;
  while (i < end && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < end && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int value = 0;
  for (; i < end && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + static_cast<int>(text[i] - '0');
  return negative ? -value : value;
}

}  // namespace

std::string FormatGoToTime(int positionSeconds) {
  const int p = positionSeconds < 0 ? 0 : positionSeconds;
  std::string text;
  AppendPart(text, p / 3600);
  text += ':';
  AppendPart(text, p % 3600 / 60);
  text += ':';
  AppendPart(text, p % 60);
  return text;
}

int ParseGoToTime(const std::string& text, int lengthSeconds) {
  const std::u32string characters =
      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toStdU32String();
  if (characters.size() != 8) return 0;
  // Two characters per part: the sum stays far inside the range of int.
  const std::int64_t target = std::int64_t{ReadPart(characters, 0)} * 3600 + ReadPart(characters, 3) * 60 +
                              ReadPart(characters, 6);
  if (target > lengthSeconds || target < 0) return 0;
  return static_cast<int>(target);
}
