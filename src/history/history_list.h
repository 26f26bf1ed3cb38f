#pragma once
#include <cstddef>
#include <deque>
#include <string>

#include "platform/file_name.h"
#include "settings/ini_file.h"

// The recent files: the last four paths the engine opened, most recent first,
// kept in the settings file's section "history_list" (keys File_0 to File_3)
// and written through on every change. Used by the main window only, on the
// user-interface thread.
class CHistoryList {
 public:
  static constexpr int kMaxFiles = 4;
  // Longest path read back from the settings file.
  static constexpr std::size_t kMaxPath = platform::kMaxPathBytes;

  CHistoryList() = default;
  virtual ~CHistoryList() = default;
  CHistoryList(const CHistoryList&) = delete;
  CHistoryList& operator=(const CHistoryList&) = delete;

  // Binds the settings file and appends its stored entries, in order, up to
  // the first missing or empty key. Always true.
  bool LoadHistory(const std::string& settingsPath);
  // Moves path to the top (adding it if new, dropping the oldest beyond four)
  // and rewrites the section. An empty path, one longer than kMaxPath, or one
  // holding a line break that would corrupt the settings file, is ignored.
  // Always true.
  bool AddFile(const std::string& path);
  // Empties the history and its stored keys. Always true.
  bool ClearHistory();

  // Walks the entries from most recent to oldest: GetFirstFile, then
  // GetNextFile with the position it gave, until false.
  bool GetFirstFile(std::string& path, int& position) const;
  bool GetNextFile(int position, std::string& path, int& nextPosition) const;
  // Entry index (0 = most recent); false when there is none.
  bool GetFileAt(std::string& path, int index) const;

  int Count() const { return static_cast<int>(files_.size()); }

 private:
  void WriteAll();

  std::string settingsPath_;
  IniFile settings_;
  std::deque<std::string> files_;
};
