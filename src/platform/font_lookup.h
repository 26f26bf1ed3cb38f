#pragma once
#include <string>

namespace platform {

// The file of an installed CJK sans-serif font (asked of fontconfig once and
// remembered), or an empty string when there is none.
std::string CjkFontFile();

}  // namespace platform
