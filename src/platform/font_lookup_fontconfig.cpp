#include "platform/font_lookup.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <mutex>
#include <sys/stat.h>

namespace platform {
namespace {

// fontconfig answers with its best match even without Chinese glyphs; only
// files of known CJK families are worth handing to the engine.
bool IsCjkFontFile(std::string name) {
  name = name.substr(name.rfind('/') + 1);
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
  for (const char* family : {"wqy", "cjk", "droidsansfallback", "simhei", "simsun", "arphic", "uming", "ukai"})
    if (name.find(family) != std::string::npos) return true;
  return false;
}

std::string MatchCjkSans() {
  // The library in process: the configuration is loaded once (the toolkit
  // has usually done so already), with no program to start.
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif:lang=zh-cn"));
  if (!pattern) return {};
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  std::string file;
  FcChar8* path = nullptr;
  if (match && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path)
    file = reinterpret_cast<const char*>(path);
  if (match) FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  struct stat st {};
  if (file.empty() || stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || !IsCjkFontFile(file)) return {};
  return file;
}

}  // namespace

std::string CjkFontFile() {
  static std::once_flag once;
  static std::string file;
  std::call_once(once, [] { file = MatchCjkSans(); });
  return file;
}

}  // namespace platform
