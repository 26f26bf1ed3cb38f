// Feeds arbitrary bytes, as a client of the hand-over socket would send them
// in arbitrary pieces, through the receiver's reading of the message and the
// taking of its paths, and sends the paths taken on again as a second
// instance would.
#include <cassert>
#include <cstdint>
#include <string>
#include <vector>

#include "mainwindow/instance_hand_over.h"
#include "platform/hand_over.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  // The first byte picks the read size, as the socket would cut the stream.
  const std::size_t readSize = 1 + data[0] % 32 * 7;
  const std::string sent(reinterpret_cast<const char*>(data + 1), size - 1);
  std::string received;
  for (std::size_t at = 0; at < sent.size(); at += readSize) {
    received += sent.substr(at, readSize);
    const platform::HandOverReading reading = platform::ReadHandOverMessage(received);
    if (reading == platform::HandOverReading::Refused) return 0;
    if (reading == platform::HandOverReading::Incomplete) continue;
    const std::string bytes = received.substr(platform::kHandOverHeaderBytes);
    assert(bytes.size() <= platform::kMaxHandOverBytes);
    const std::vector<std::string> paths = instance::HandedOverPaths(bytes);
    for (const std::string& path : paths) {
      assert(!path.empty() && path.size() <= instance::kMaxHandOverPath);
      assert(path.find('\0') == std::string::npos);
    }
    // Handed over again, the same paths arrive in the same order; only what
    // would overflow the message stays behind, at the end.
    const instance::HandOverMessage again = instance::HandOverMessageOf(paths);
    assert(again.bytes.size() <= platform::kMaxHandOverBytes);
    std::vector<std::string> whole = instance::HandedOverPaths(again.bytes);
    whole.insert(whole.end(), again.leftOut.begin(), again.leftOut.end());
    assert(whole == paths);
    return 0;
  }
  return 0;
}
