#pragma once
#include <cstdint>
#include <string>
#include <vector>

// "check_update.ini", the list a server offers, once its signature is known
// to be good:
//
//   [update_info]
//   group_ver=20261201
//   expires=20270101        the last day (UTC) the list may be used
//   [_kinovue_exe]          one section per file; its name is the key of the
//   name=kinovue            file's version in "UpdateLocal.ini"
//   version=20261201
//   size=1234567
//   sha256=<64 hex digits>
//   restart=1               the running program: placed by the restart helper
//
// Everything is checked before anything is used: a list with one bad entry
// is refused whole.
struct UpdateFileEntry {
  std::string id;       // letters, digits, '_', '-', '.'
  std::string name;     // relative path inside the program folder
  std::int64_t version = 0;
  std::int64_t size = 0;
  std::string sha256;   // 64 lower-case hex digits
  bool restart = false;
};

struct CheckFile {
  std::int64_t groupVersion = 0;
  std::int64_t expires = 0;  // YYYYMMDD
  std::vector<UpdateFileEntry> files;
};

inline constexpr std::int64_t kMaxUpdateFileSize = 512ll << 20;
inline constexpr std::size_t kMaxCheckFileSize = 256 << 10;

// False, with the reason, when the text is not a valid list.
bool ParseCheckFile(const std::string& bytes, CheckFile& out, std::string& error);

// The list may still be used on today (YYYYMMDD, UTC). False, with the
// reason, when it expired: a list replayed later stops working.
bool IsCurrentList(const CheckFile& list, std::int64_t today, std::string& error);

// Today's date (UTC) as YYYYMMDD.
std::int64_t TodayUtc();

// A name that stays inside the folder it is joined to: not empty, relative,
// '/'-separated parts none of which is empty, "." or "..", no backslash and
// no control bytes, at most 4095 bytes.
bool IsSafeRelativeName(const std::string& name);

// A version or size: 1 to 18 decimal digits. False otherwise.
bool ParseDecimal(const std::string& text, std::int64_t& value);
