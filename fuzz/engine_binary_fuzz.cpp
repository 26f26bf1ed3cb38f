// Feeds arbitrary bytes as the engine's program file to the ELF reader that
// looks for its needed libraries.
#include <cstdint>
#include <string_view>

#include "enginelib/engine_binary.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ElfImageNeeds({reinterpret_cast<const char*>(data), size}, "libenca.so");
  return 0;
}
