// Feeds arbitrary bytes to the registry file's reader: damaged text must be
// refused whole, whatever is accepted must write back to text that reads as
// the same tree, and the reader's index must merge names that differ only in
// case, among keys and among values alike.
#include <cassert>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "platform/registry_file.h"

namespace {

void AssertNamesUnique(const platform::RegistryKey& key) {
  std::set<std::string> keys, values;
  for (const auto& child : key.subkeys) {
    assert(keys.insert(platform::FoldRegistryName(child.name)).second);
    AssertNamesUnique(child);
  }
  for (const auto& value : key.values) assert(values.insert(platform::FoldRegistryName(value.name)).second);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  platform::RegistryKey root;
  if (!platform::ParseRegistryText(text, root)) {
    assert(root.subkeys.empty() && root.values.empty());
    return 0;
  }
  AssertNamesUnique(root);
  const std::string written = platform::FormatRegistryText(root);
  platform::RegistryKey again;
  assert(platform::ParseRegistryText(written, again));
  assert(platform::FormatRegistryText(again) == written);
  return 0;
}
