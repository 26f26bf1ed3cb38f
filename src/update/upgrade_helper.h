#pragma once
#include <functional>
#include <string>

#include "platform/message_window.h"

// The restart that replaces the running program: a temporary copy of the
// program (the helper) waits for the old process to end, places the cached
// files, cleans up, marks the update done and starts the program again.

inline constexpr char kQuitEventName[] = "8617020D-9EE1-4021-B990-415F796FCA9B_waiting_for_quit_event";
// How long the old process waits for the helper's signal.
inline constexpr int kHelperSignalTimeoutMs = 10000;
// How long the helper waits for the old process to end.
inline constexpr int kOldProcessTimeoutMs = 60000;

// The helper's command line: handle"cache folder"target folder"program file"token.
// The token names the one-time note the running program leaves in the private
// runtime folder; without that note the text is an ordinary file name.
struct HelperArguments {
  std::string handle;
  std::string cacheFolder;
  std::string targetFolder;
  std::string programFile;
};

enum class HelperArgumentsKind {
  OrdinaryStart,    // fewer than four quotes
  Helper,           // all fields read
  TooManyQuotes,    // "参数错误"
  HandleNotDigits,  // "参数1必须全是数字"
};

HelperArgumentsKind ParseHelperArguments(const std::string& text, HelperArguments& out);

// The helper's command text, with a fresh token whose note is left in the
// runtime folder (the private one when empty): only a helper started with
// exactly this text acts, and only once. Empty when the note cannot be left.
std::string PrepareHelperCommand(int handle, const std::string& cacheFolder, const std::string& targetFolder,
                                 const std::string& programFile, const std::string& runtimeFolder = {});

// True when targetFolder is programFolder and cacheFolder that program's own
// update cache in its data folder, compared as real paths: the only folders a
// restart may place files into or load the update library from.
bool AreOwnUpdateFolders(const std::string& cacheFolder, const std::string& targetFolder,
                         const std::string& programFolder);

struct UpgradeHelperEnvironment {
  std::string ownProgramPath;  // this process's program file (the helper copy)
  std::string runtimeFolder;   // where the named event lives; the private one when empty
  std::string publicKeyHex;    // for the cached files; empty: the built-in key
  std::function<void(const std::string& text, const std::string& caption)> showMessage;
};

// Run first at every start. True when this process was the helper and has
// done its work: the program was started again and the user told whether it
// was updated (kHelperDoneText) or is still the old one
// (kUpgradeIncompleteText). False for an ordinary start: any text without the
// running program's note, whatever its quotes.
bool RunUpgradeHelper(const std::string& argumentText, const UpgradeHelperEnvironment& environment);

// Starts the helper from a temporary copy of programPath and waits (at most
// timeoutMs) for its signal. True when it answered: the caller then ends.
// False when it could not be started or did not answer; the copy is then
// removed and nothing else changed.
bool LaunchUpgradeHelper(const std::string& programPath, const std::string& cacheFolder,
                         const std::string& targetFolder, const std::string& runtimeFolder = {},
                         int timeoutMs = kHelperSignalTimeoutMs);

// Removes folder and everything below it; symbolic links are removed, never
// followed. False when the folder cannot be listed.
bool DeleteFolderTree(const std::string& folder);
