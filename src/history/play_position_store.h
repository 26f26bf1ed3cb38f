#pragma once
#include <cstddef>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/file_identity.h"

// Where a medium was left: its path, which version of the file it was (size
// and modification time) and the whole second playback stopped at.
struct PlayPosition {
  std::string path;
  platform::FileIdentity identity;
  int seconds = 0;
  bool operator==(const PlayPosition&) const = default;
};

inline constexpr const char* kPlayPositionsFileName = "PlayPositions.dat";

// The file "PlayPositions.dat" in the data folder: a comment line, then one
// position per line, newest first, as "SECONDS SIZE MODIFIED_NS PATH" with LF
// line ends (CR LF is read too). The path is the rest of the line.

// The positions of a file's text, newest first, at most `capacity`. Lines
// that do not read as a position are skipped; of two lines for one path the
// first (newer) counts.
std::vector<PlayPosition> ParsePlayPositions(std::string_view text, std::size_t capacity);
// The text of the file for the positions, newest first.
std::string FormatPlayPositions(const std::list<PlayPosition>& positions);

// The stored positions of the newest media, one per path, read once at
// start and written through (the whole file replaced at once) on every
// change. UI thread only.
class PlayPositionStore {
 public:
  static constexpr std::size_t kCapacity = 1000;
  // A longer file is not a file this program wrote: it is not read.
  static constexpr std::size_t kMaxFileBytes = 8u << 20;

  explicit PlayPositionStore(std::string filePath);
  // The index points into the list: moving keeps it right, copying would not.
  PlayPositionStore(const PlayPositionStore&) = delete;
  PlayPositionStore& operator=(const PlayPositionStore&) = delete;
  PlayPositionStore(PlayPositionStore&&) = default;
  PlayPositionStore& operator=(PlayPositionStore&&) = default;

  // Reads the file. A missing, damaged, oversized or unreadable file, or
  // anything but a regular file, gives no positions.
  void Load();

  // The seconds stored for that version of the file at path; nothing when
  // none is, or when the file has changed since.
  std::optional<int> Find(const std::string& path, const platform::FileIdentity& identity) const;
  // Stores the position as the newest, in place of any older one of its
  // path, and drops the oldest beyond the capacity. A path holding a line
  // break cannot be stored. False when nothing was stored or the file could
  // not be written (a failed write leaves the file as it was).
  bool Remember(const PlayPosition& position);
  // Drops the position of path. False when there was none or the file could
  // not be written.
  bool Forget(const std::string& path);

  std::size_t Count() const { return entries_.size(); }
  const std::string& FilePath() const { return filePath_; }

 private:
  bool Save() const;
  void Index();

  std::string filePath_;
  std::list<PlayPosition> entries_;  // newest first
  std::unordered_map<std::string, std::list<PlayPosition>::iterator> byPath_;
};
