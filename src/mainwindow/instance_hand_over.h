#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "platform/file_name.h"
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

// The longest path handed over.
inline constexpr std::size_t kMaxHandOverPath = platform::kMaxPathBytes;

// What a second instance hands over for its paths (absolute, or
// addresses): each path followed by a zero byte, so that one path is the
// message it always was. A path longer than kMaxHandOverPath or holding a
// zero byte is left out, and so is every path from the first one that
// would make the message longer than platform::kMaxHandOverBytes.
struct HandOverMessage {
  std::string bytes;                 // empty when no path went in
  std::vector<std::string> leftOut;  // in their given order
};
HandOverMessage HandOverMessageOf(const std::vector<std::string>& paths);

enum class HandOverOutcome {
  Nothing,       // no path on the command line: nothing to hand over
  Delivered,     // the running instance handled it
  NotDelivered,  // refused, not taken within the time allowed, or no path fits
};

// Sends HandOverMessageOf(paths) with dwData 0 to the window under
// "RunningHandle" and waits until it was handled. A busy, starting or
// briefly unreachable receiver is tried again, the handle read afresh each
// time, for at most timeoutMs in all; between tries, runningEnded (when
// given) is asked whether the running instance has gone, which ends the
// tries at once (NotDelivered). folder as for the platform hand-over (the
// private runtime folder when empty).
HandOverOutcome HandOverToRunningInstance(const std::vector<std::string>& paths, const IniFile& settings,
                                          const std::string& folder = {},
                                          int timeoutMs = platform::kHandOverTimeoutMs,
                                          const std::function<bool()>& runningEnded = {});

// The receiver's side: the paths in a hand-over's bytes, in order, each
// ended by a zero byte or by the end of the bytes. Empty pieces and pieces
// longer than kMaxHandOverPath carry no path.
std::vector<std::string> HandedOverPaths(const std::string& bytes);

}  // namespace instance
