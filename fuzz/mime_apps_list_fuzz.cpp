// Feeds an arbitrary mimeapps.list to the default-application editor: a
// set value reads back, a removed one is gone, and setting then removing a
// type the text never had leaves a text where setting it again gives the
// same result.
#include <cassert>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/mime_apps_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string mime = "video/x-fuzz";
  const std::string set = platform::WithDefaultApplications(text, {{mime, "kinovue_0.desktop;"}});
  assert(platform::DefaultApplicationIn(set, mime) == "kinovue_0.desktop;");
  const std::string removed = platform::WithDefaultApplications(set, {{mime, std::nullopt}});
  assert(!platform::DefaultApplicationIn(removed, mime));
  if (!platform::DefaultApplicationIn(text, mime))
    assert(platform::WithDefaultApplications(removed, {{mime, "kinovue_0.desktop;"}}) == set);
  return 0;
}
