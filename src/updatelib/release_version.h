#pragma once
#include <cstdint>

// The group version of the files this build was released with. No list may
// offer anything at or below it, whatever "UpdateLocal.ini" holds (a fresh
// unpack or a lost data folder has no versions stored): an older signed
// list, replayed, can never take the program back.
inline constexpr std::int64_t kReleaseGroupVersion = 20250601;
