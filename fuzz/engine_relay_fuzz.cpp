// Feeds arbitrary engine messages to the relay: whatever a medium's text
// holds, only a message's first line may start at the margin (the engine's
// own numeric stream lines excepted), none starts with a control byte, and
// the message ends with a line end.
#include <cassert>
#include <cstdint>
#include <string>
#include <string_view>

#include "enginelib/engine_output_relay.h"

namespace {

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view message(reinterpret_cast<const char*>(data), size);
  const std::string relayed = RelayEngineMessage(message);
  if (relayed.empty()) return 0;
  assert(IsLineEnd(relayed.back()));
  int atMargin = 0;
  bool numericOnly = true;
  std::size_t start = 0;
  for (std::size_t i = 0; i < relayed.size(); ++i) {
    if (!IsLineEnd(relayed[i])) continue;
    const std::string_view line(relayed.data() + start, i - start);
    start = i + 1;
    if (line.empty()) continue;
    assert(static_cast<unsigned char>(line[0]) >= 0x20 && line[0] != 0x7f);
    if (line[0] == ' ') continue;
    ++atMargin;
    numericOnly = numericOnly && (line.substr(0, 9) == "ID_AUDIO_" || line.substr(0, 9) == "ID_VIDEO_");
  }
  assert(atMargin <= 1 || numericOnly);
  return 0;
}
