#pragma once
#include <array>
#include <cstddef>
#include <span>
#include <string_view>

// The media file extensions Kinovue associates with itself, and those of
// them that the open-file dialogs leave out of their media pattern list.
// Process-wide, fixed, in this order.

struct MediaExtension {
  const char* extension;  // lower case with its leading dot (".avi")
  int type;               // association type: 0 video, 1 RealMedia, 2 MP3
};

inline constexpr std::size_t kMediaExtensionCount = 55;
inline constexpr std::size_t kFilterExclusionCount = 27;

extern const std::array<MediaExtension, kMediaExtensionCount> kMediaExtensionTable;
// Associated like the others, but not offered in the media pattern list.
extern const std::array<const char*, kFilterExclusionCount> kFilterExclusionList;

// extension is on the exclusion list, compared without regard to ASCII case.
bool IsFilterExcluded(std::string_view extension, std::span<const char* const> exclusions = kFilterExclusionList);
