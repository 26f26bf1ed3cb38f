#pragma once
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "platform/hand_over.h"
#include "platform/message_window.h"
#include "settings/ini_file.h"

// One instance at a time: a second instance hands its file to the running
// one and ends. The running instance's window handle is kept in the settings
// file under "RunningHandle"; the transport is platform::SendHandOver and
// platform::HandOverServer, the lock platform::NamedMutex.
namespace instance {

inline constexpr char kInstanceMutexName[] = "912B7771-D12C-470B-A5C4-5FD45E3953C4_kinovue_mutex";
inline constexpr char kRunningHandleSection[] = "kinovue";
inline constexpr char kRunningHandleKey[] = "RunningHandle";

// The handle under "RunningHandle"; 0 when it is missing or not a plain
// decimal number that fits a handle.
platform::WindowHandle ReadRunningHandle(const IniFile& settings);
// Writes the handle in decimal.
bool WriteRunningHandle(IniFile& settings, platform::WindowHandle handle);

// The longest path handed over (a path buffer less its zero byte).
inline constexpr std::size_t kMaxHandOverPath = 4095;

// What a second instance hands over for its command line: the path with one
// leading and one trailing double quote removed where present, made absolute
// against workingFolder when it is a local relative path (an address with
// "://" stays as it is), then a zero byte. Empty when there is no path or
// the path is longer than kMaxHandOverPath.
std::string HandOverBytes(const std::string& commandLine, const std::string& workingFolder);

enum class HandOverOutcome {
  Nothing,       // no path on the command line: nothing to hand over
  Delivered,     // the running instance handled it
  NotDelivered,  // refused, or not taken within the time allowed
};

// Sends HandOverBytes(commandLine, the process's working folder) with dwData
// 0 to the window under "RunningHandle" and waits until it was handled. A
// busy, starting or briefly unreachable receiver is tried again, the handle
// read afresh each time, for at most timeoutMs in all; between tries,
// runningEnded (when given) is asked whether the running instance has gone,
// which ends the tries at once (NotDelivered). folder as for the platform
// hand-over (the private runtime folder when empty).
HandOverOutcome HandOverToRunningInstance(const std::string& commandLine, const IniFile& settings,
                                          const std::string& folder = {},
                                          int timeoutMs = platform::kHandOverTimeoutMs,
                                          const std::function<bool()>& runningEnded = {});

// The receiver's side: the path in a hand-over's bytes (up to the first zero
// byte). Nothing when there are fewer than 2 bytes, which carry no path, or
// when the path is longer than kMaxHandOverPath.
std::optional<std::string> HandedOverPath(const std::string& bytes);

}  // namespace instance
