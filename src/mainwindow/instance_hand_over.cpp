#include "mainwindow/instance_hand_over.h"

#include <limits>

#include "platform/hand_over.h"

namespace instance {

std::string StripSurroundingQuotes(const std::string& text) {
  std::string result = text;
  if (!result.empty() && result.front() == '"') result.erase(0, 1);
  if (!result.empty() && result.back() == '"') result.pop_back();
  return result;
}


platform::WindowHandle ReadRunningHandle(const IniFile& settings) {
  std::string text;
  if (!settings.ReadString(kRunningHandleSection, kRunningHandleKey, text, 32)) return 0;
  platform::WindowHandle handle = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    const auto digit = static_cast<platform::WindowHandle>(c - '0');
    if (handle > (std::numeric_limits<platform::WindowHandle>::max() - digit) / 10) return 0;
    handle = handle * 10 + digit;
  }
  return handle;
}

bool WriteRunningHandle(IniFile& settings, platform::WindowHandle handle) {
  return settings.WriteString(kRunningHandleSection, kRunningHandleKey, std::to_string(handle));
}

std::string HandOverBytes(const std::string& commandLine) {
  if (commandLine.size() < 3) return {};
  // Only real quotes go: an unquoted path arrives whole.
  return StripSurroundingQuotes(commandLine) + '\0';
}

bool HandOverToRunningInstance(const std::string& commandLine, const IniFile& settings, const std::string& folder) {
  const std::string bytes = HandOverBytes(commandLine);
  if (bytes.empty()) return false;
  const platform::WindowHandle target = ReadRunningHandle(settings);
  if (target == 0) return false;
  return platform::SendHandOver(target, 0, bytes, platform::kHandOverTimeoutMs, folder);
}

std::optional<std::string> HandedOverPath(const std::string& bytes) {
  if (bytes.size() < 2) return std::nullopt;
  return std::string(bytes.c_str());
}

}  // namespace instance
