#include "history/history_list.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

const char kSection[] = "history_list";

std::string KeyFor(int index) { return "File_" + std::to_string(index); }

}  // namespace

bool CHistoryList::LoadHistory(const std::string& settingsPath) {
  settingsPath_ = settingsPath;
  settings_.SetPath(settingsPath_);
  const IniSection stored = settings_.ReadSection(kSection);
  for (int i = 0; i < kMaxFiles; ++i) {
    std::string path;
    // One byte more than kept, to notice an entry that would come back cut.
    if (!stored.ReadString(KeyFor(i), path, kMaxPath + 2)) break;
    // A cut path names another file; a repeated one would break the rule that
    // entries are distinct. Neither is loaded, the rest still is.
    if (path.size() > kMaxPath) continue;
    if (std::find(files_.begin(), files_.end(), path) != files_.end()) continue;
    if (Count() >= kMaxFiles) break;
    files_.push_back(path);
  }
  return true;
}

bool CHistoryList::AddFile(const std::string& path) {
  // An empty File_0 would hide every entry at the next start, and a line
  // break would write a line of its own into the settings file.
  // A longer path than is read back would come back as another file's.
  if (path.empty() || path.size() > kMaxPath || path.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) {
    return true;
  }
  const auto found = std::find(files_.begin(), files_.end(), path);
  if (found != files_.end()) {
    if (found == files_.begin()) return true;  // already the most recent: nothing to write
    files_.erase(found);
  } else if (Count() >= kMaxFiles) {
    files_.pop_back();
  }
  files_.push_front(path);
  WriteAll();
  return true;
}

bool CHistoryList::ClearHistory() {
  files_.clear();
  WriteAll();
  return true;
}

void CHistoryList::WriteAll() {
  // Every key in one replacement of the file, so that a process killed
  // meanwhile leaves the old list or the new one, never a part. Keys beyond
  // the list are emptied: an empty key ends the list when it is read back.
  std::vector<std::pair<std::string, std::string>> entries;
  for (int i = 0; i < kMaxFiles; ++i)
    entries.emplace_back(KeyFor(i), i < Count() ? files_[static_cast<std::size_t>(i)] : std::string());
  settings_.WriteStrings(kSection, entries);
}

bool CHistoryList::GetFirstFile(std::string& path, int& position) const {
  if (files_.empty()) return false;
  path = files_.front();
  position = 0;
  return true;
}

bool CHistoryList::GetNextFile(int position, std::string& path, int& nextPosition) const {
  if (position < -1 || position >= Count() - 1) return false;
  path = files_[static_cast<std::size_t>(position + 1)];
  nextPosition = position + 1;
  return true;
}

bool CHistoryList::GetFileAt(std::string& path, int index) const {
  if (index < 0 || index >= Count()) return false;
  path = files_[static_cast<std::size_t>(index)];
  return true;
}
