#include "mainwindow/instance_hand_over.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <thread>

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

HandOverMessage HandOverMessageOf(const std::vector<std::string>& paths) {
  HandOverMessage message;
  bool full = false;  // from here on nothing goes in: the order is kept
  for (const std::string& path : paths) {
    if (path.empty()) continue;
    // A zero byte would split the path in two on the other side.
    const bool tooLong = path.size() > kMaxHandOverPath || path.find('\0') != std::string::npos;
    full = full || (!tooLong && message.bytes.size() + path.size() + 1 > platform::kMaxHandOverBytes);
    if (full || tooLong) {
      message.leftOut.push_back(path);
      continue;
    }
    message.bytes += path;
    message.bytes += '\0';
  }
  return message;
}

HandOverOutcome HandOverToRunningInstance(const std::vector<std::string>& paths, const IniFile& settings,
                                          const std::string& folder, int timeoutMs,
                                          const std::function<bool()>& runningEnded) {
  if (std::all_of(paths.begin(), paths.end(), [](const std::string& p) { return p.empty(); }))
    return HandOverOutcome::Nothing;
  const std::string bytes = HandOverMessageOf(paths).bytes;
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

std::vector<std::string> HandedOverPaths(const std::string& bytes) {
  std::vector<std::string> paths;
  std::size_t at = 0;
  while (at < bytes.size()) {
    std::size_t end = bytes.find('\0', at);
    if (end == std::string::npos) end = bytes.size();
    if (end > at && end - at <= kMaxHandOverPath) paths.push_back(bytes.substr(at, end - at));
    at = end + 1;
  }
  return paths;
}

}  // namespace instance
