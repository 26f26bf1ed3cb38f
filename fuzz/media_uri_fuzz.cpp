// Feeds arbitrary URIs, as a desktop's media controls may send them, to the
// decision of what to open.
#include <cassert>
#include <cstdint>
#include <string>

#include "mainwindow/media_remote_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string uri(reinterpret_cast<const char*>(data), size);
  if (const std::optional<std::string> path = OpenablePath(uri)) {
    assert(!path->empty());
    for (char c : *path) assert(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f);
    assert(path->front() == '/' || path->find("://") != std::string::npos);
  }
  return 0;
}
