// Feeds arbitrary bytes to the registry file's reader: damaged text must be
// refused whole, and whatever is accepted must write back to text that
// reads as the same tree.
#include <cassert>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/registry_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  platform::RegistryKey root;
  if (!platform::ParseRegistryText(text, root)) {
    assert(root.subkeys.empty() && root.values.empty());
    return 0;
  }
  const std::string written = platform::FormatRegistryText(root);
  platform::RegistryKey again;
  assert(platform::ParseRegistryText(written, again));
  assert(platform::FormatRegistryText(again) == written);
  return 0;
}
