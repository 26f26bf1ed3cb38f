#include "history/play_position_store.h"

#include <charconv>
#include <unordered_set>

#include "platform/atomic_file.h"
#include "platform/bounded_file.h"

namespace {

constexpr std::string_view kHeader = "# Kinovue play positions: seconds, size, modified (ns), path";

// A decimal number and the one space after it; false when there is none.
template <class T>
bool TakeNumber(std::string_view& rest, T& value) {
  const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
  if (error != std::errc() || end == rest.data() + rest.size() || *end != ' ') return false;
  rest.remove_prefix(static_cast<std::size_t>(end - rest.data()) + 1);
  return true;
}

std::optional<PlayPosition> ParseLine(std::string_view line) {
  PlayPosition position;
  if (!TakeNumber(line, position.seconds) || position.seconds <= 0) return std::nullopt;
  if (!TakeNumber(line, position.identity.size) || position.identity.size < 0) return std::nullopt;
  if (!TakeNumber(line, position.identity.modifiedNs)) return std::nullopt;
  // Only what Remember stores: an absolute path without NUL or CR.
  if (line.empty() || line.front() != '/' || line.find_first_of(std::string_view("\r\0", 2)) != std::string_view::npos)
    return std::nullopt;
  position.path = line;
  return position;
}

bool Storable(const std::string& path) {
  return !path.empty() && path.front() == '/' && path.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos;
}

}  // namespace

std::vector<PlayPosition> ParsePlayPositions(std::string_view text, std::size_t capacity) {
  std::vector<PlayPosition> positions;
  std::unordered_set<std::string_view> seen;
  while (!text.empty() && positions.size() < capacity) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    std::optional<PlayPosition> position = ParseLine(line);
    if (!position || !seen.insert(line.substr(line.size() - position->path.size())).second) continue;
    positions.push_back(std::move(*position));
  }
  return positions;
}

std::string FormatPlayPositions(const std::list<PlayPosition>& positions) {
  std::string text(kHeader);
  text += '\n';
  for (const PlayPosition& p : positions) {
    text += std::to_string(p.seconds) + ' ' + std::to_string(p.identity.size) + ' ' +
            std::to_string(p.identity.modifiedNs) + ' ' + p.path + '\n';
  }
  return text;
}

PlayPositionStore::PlayPositionStore(std::string filePath) : filePath_(std::move(filePath)) {}

void PlayPositionStore::Load() {
  entries_.clear();
  byPath_.clear();
  std::string bytes;
  if (filePath_.empty() || platform::ReadRegularFile(filePath_, kMaxFileBytes, bytes) != platform::FileRead::kRead) return;
  for (PlayPosition& p : ParsePlayPositions(bytes, kCapacity)) entries_.push_back(std::move(p));
  Index();
}

void PlayPositionStore::Index() {
  byPath_.clear();
  for (auto it = entries_.begin(); it != entries_.end(); ++it) byPath_.emplace(it->path, it);
}

std::optional<int> PlayPositionStore::Find(const std::string& path, const platform::FileIdentity& identity) const {
  const auto it = byPath_.find(path);
  if (it == byPath_.end() || it->second->identity != identity) return std::nullopt;
  return it->second->seconds;
}

bool PlayPositionStore::Remember(const PlayPosition& position) {
  if (!Storable(position.path) || position.seconds <= 0) return false;
  if (const auto it = byPath_.find(position.path); it != byPath_.end()) {
    entries_.erase(it->second);
    byPath_.erase(it);
  }
  entries_.push_front(position);
  byPath_.emplace(position.path, entries_.begin());
  while (entries_.size() > kCapacity) {
    byPath_.erase(entries_.back().path);
    entries_.pop_back();
  }
  return Save();
}

bool PlayPositionStore::Forget(const std::string& path) {
  const auto it = byPath_.find(path);
  if (it == byPath_.end()) return false;
  entries_.erase(it->second);
  byPath_.erase(it);
  return Save();
}

bool PlayPositionStore::Save() const { return platform::WriteFileAtomically(filePath_, FormatPlayPositions(entries_)) == 0; }
