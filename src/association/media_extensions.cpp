#include "association/media_extensions.h"

#include <algorithm>

const std::array<MediaExtension, kMediaExtensionCount> kMediaExtensionTable{{
    {".3g2", 0},  {".3gp", 0},  {".4xa", 0}, {".4xm", 0},  {".aac", 0}, {".ac3", 0},  {".amr", 0},
    {".asf", 0},  {".asx", 0},  {".avi", 0}, {".cak", 0},  {".cpk", 0}, {".dat", 0},  {".dts", 0},
    {".duk", 0},  {".dxa", 0},  {".flv", 0}, {".gxf", 0},  {".ifo", 0}, {".m1a", 0},  {".m2a", 0},
    {".m1v", 0},  {".m2v", 0},  {".mka", 0}, {".mkv", 0},  {".mov", 0}, {".mp2", 0},  {".mp2v", 0},
    {".mp3", 2},  {".mp4", 0},  {".mpa", 0}, {".mpe", 0},  {".mpeg", 0}, {".mpg", 0}, {".mpv2", 0},
    {".nsv", 0},  {".nuv", 0},  {".ogg", 0}, {".pss", 0},  {".pva", 0}, {".qt", 0},   {".ra", 1},
    {".ram", 1},  {".rm", 1},   {".rmvb", 1}, {".roq", 0}, {".tp", 0},  {".tpr", 0},  {".ts", 0},
    {".vob", 0},  {".wav", 0},  {".wm", 0},  {".wma", 0},  {".wmp", 0}, {".wmv", 0},
}};

const std::array<const char*, kFilterExclusionCount> kFilterExclusionList{{
    ".4xa", ".4xm", ".aac", ".amr", ".cak", ".cpk", ".dts", ".duk", ".dxa", ".gxf", ".ifo", ".m1a", ".m2a", ".m1v",
    ".m2v", ".mka", ".mp2v", ".mpv2", ".nsv", ".nuv", ".pss", ".pva", ".qt", ".roq", ".tp", ".tpr", ".wmp",
}};

namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

}  // namespace

bool IsFilterExcluded(std::string_view extension, std::span<const char* const> exclusions) {
  return std::any_of(exclusions.begin(), exclusions.end(),
                     [&](const char* excluded) { return EqualsIgnoringCase(extension, excluded); });
}
