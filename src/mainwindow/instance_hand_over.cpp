#include "mainwindow/instance_hand_over.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <limits>
#include <thread>

#include "mainwindow/command_line.h"
#include "platform/hand_over.h"

namespace instance {

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

std::string HandOverBytes(const std::string& commandLine, const std::string& workingFolder) {
  // Only real quotes go: an unquoted path arrives whole.
  std::string path = app::StripSurroundingQuotes(commandLine);
  if (path.empty()) return {};
  // The running instance works in another folder: a relative name means
  // nothing there.
  if (path.front() != '/' && path.find("://") == std::string::npos && !workingFolder.empty())
    path = workingFolder + (workingFolder.back() == '/' ? "" : "/") + path;
  if (path.size() > kMaxHandOverPath) return {};
  return path + '\0';
}

HandOverOutcome HandOverToRunningInstance(const std::string& commandLine, const IniFile& settings,
                                          const std::string& folder, int timeoutMs,
                                          const std::function<bool()>& runningEnded) {
  if (app::StripSurroundingQuotes(commandLine).empty()) return HandOverOutcome::Nothing;
  std::error_code error;
  const std::string bytes = HandOverBytes(commandLine, std::filesystem::current_path(error).string());
  if (bytes.empty()) return HandOverOutcome::NotDelivered;
  // A failure that came at once (a full receiver, one still starting, one
  // whose handle is not written yet) is worth another try; one that waited
  // for an answer used up the time, so nothing is ever handled twice.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    if (left <= 0) return HandOverOutcome::NotDelivered;
    const platform::WindowHandle target = ReadRunningHandle(settings);
    if (target != 0 && platform::SendHandOver(target, 0, bytes, static_cast<int>(left), folder))
      return HandOverOutcome::Delivered;
    if (runningEnded && runningEnded()) return HandOverOutcome::NotDelivered;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

std::optional<std::string> HandedOverPath(const std::string& bytes) {
  if (bytes.size() < 2) return std::nullopt;
  std::string path(bytes.c_str());
  if (path.size() > kMaxHandOverPath) return std::nullopt;
  return path;
}

}  // namespace instance
