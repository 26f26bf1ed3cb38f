#pragma once
#include <optional>
#include <string>

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
// The text with one leading and one trailing double quote removed, each
// only where present.
std::string StripSurroundingQuotes(const std::string& text);

platform::WindowHandle ReadRunningHandle(const IniFile& settings);
// Writes the handle in decimal.
bool WriteRunningHandle(IniFile& settings, platform::WindowHandle handle);

// What a second instance hands over for its command line: the path with one
// leading and one trailing double quote removed where present, then a zero
// byte. Empty (nothing to hand over) for a text of fewer than 3 characters.
std::string HandOverBytes(const std::string& commandLine);

// Sends HandOverBytes(commandLine) with dwData 0 to the window under
// "RunningHandle" and waits (bounded) until it was handled. False without
// sending when there is nothing to hand over or no handle is stored; false
// when the running instance is gone or does not answer. folder as for the
// platform hand-over (the private runtime folder when empty).
bool HandOverToRunningInstance(const std::string& commandLine, const IniFile& settings,
                               const std::string& folder = {});

// The receiver's side: the path in a hand-over's bytes (up to the first zero
// byte). Nothing when there are fewer than 2 bytes, which carry no path.
std::optional<std::string> HandedOverPath(const std::string& bytes);

}  // namespace instance
