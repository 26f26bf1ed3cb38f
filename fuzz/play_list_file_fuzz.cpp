// Feeds arbitrary bytes as a playlist text file: every line handed on is a
// whole path (no line feed, no NUL, within the length limit), and what is
// loaded survives a save and a second load unchanged.
#include <unistd.h>

#include <cassert>
#include <cstdint>
#include <cstdio>
#include <string>

#include "playlist/general_play_list.h"
#include "playlist/play_list_file.h"

namespace {

std::string Scratch(const char* name) {
  static const std::string folder = [] {
    char pattern[] = "/tmp/kinovue-playlist-fuzz-XXXXXX";
    const char* made = mkdtemp(pattern);
    assert(made);
    return std::string(made);
  }();
  return folder + "/" + name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input = Scratch("input.txt");
  FILE* file = std::fopen(input.c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  CGeneralPlayList first;
  const bool read = ReadPlayListFile(input, [&](const std::string& line) {
    assert(line.size() <= kPlayListMaxLine);
    assert(line.find('\n') == std::string::npos);
    assert(line.find('\0') == std::string::npos);
    first.Add(line);
  });
  assert(read);

  const std::string saved = Scratch("saved.txt");
  assert(first.Save(saved));
  CGeneralPlayList second;
  assert(second.Load(saved));
  assert(second.Count() == first.Count());
  for (int i = 0; i < first.Count(); ++i) assert(second.ItemAt(i) == first.ItemAt(i));
  return 0;
}
