// Feeds arbitrary bytes as the stored play positions: every position read
// is one that could have been stored (absolute path without a line break or
// NUL, a positive second, one entry per path, at most the capacity), and
// what is read survives being written and read back unchanged.
#include <cassert>
#include <cstdint>
#include <list>
#include <set>
#include <string_view>

#include "history/play_position_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kCapacity = 16;  // small, so the cap is reached often
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<PlayPosition> read = ParsePlayPositions(text, kCapacity);
  assert(read.size() <= kCapacity);
  std::set<std::string> paths;
  for (const PlayPosition& p : read) {
    assert(!p.path.empty() && p.path.front() == '/');
    assert(p.path.find_first_of(std::string_view("\n\0", 2)) == std::string::npos);
    assert(p.seconds > 0 && p.identity.size >= 0);
    assert(paths.insert(p.path).second);
  }
  const std::list<PlayPosition> stored(read.begin(), read.end());
  assert(ParsePlayPositions(FormatPlayPositions(stored), kCapacity) == read);
  return 0;
}
