#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Placing several update files as one. Every new file is first written
// whole into ".kinovue-switch" in the program folder (the same disk as its
// target), each old file keeps a second name there, and a journal records
// how far the switch got. A crash at any point leaves the old files or the
// new ones, all of them: RecoverSwitch, run whenever the update library is
// loaded, undoes a switch that had not finished and completes one that had.
// Versions are recorded only once every file is in place.

inline constexpr char kSwitchFolder[] = ".kinovue-switch";

struct SwitchFile {
  std::string id;     // the key of its version in "UpdateLocal.ini"
  std::string name;   // inside the program folder (IsSafeRelativeName)
  std::int64_t version = 0;
  bool existed = false;  // an old file was there, and is kept as old/<name>
};

struct SwitchJournal {
  bool switched = false;  // every new file is in place: complete, never undo
  std::int64_t groupVersion = 0;  // recorded with the files; 0: none
  std::vector<SwitchFile> files;
};

std::string JournalText(const SwitchJournal& journal);
// False for any text JournalText cannot have written: no state, an unsafe
// name or id, a bad number.
bool ParseJournal(const std::string& text, SwitchJournal& out);

struct NewFile {
  SwitchFile file;
  std::string bytes;  // checked against the signed list already
  bool executable = false;
};

// Switches files into programFolder and then records their versions, and
// groupVersion when not 0 (never lowering the stored one), in the
// "UpdateLocal.ini" at localConfigPath. False, with the reason, when any
// step failed: the old files are all in place again then, nothing recorded.
bool SwitchFiles(const std::string& programFolder, std::vector<NewFile> files, std::int64_t groupVersion,
                 const std::string& localConfigPath, const std::string& logPath, std::string& error);

// Finishes a switch a crash interrupted, as described above, and logs it.
void RecoverSwitch(const std::string& programFolder, const std::string& localConfigPath, const std::string& logPath);

// The stored version of key, never below this build's own (release_version.h).
std::int64_t StoredVersion(const std::string& localConfigPath, const std::string& section, const std::string& key);
