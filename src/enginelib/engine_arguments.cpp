#include "enginelib/engine_arguments.h"

#include <array>
#include <string_view>

namespace {

// Every locale category except LC_MESSAGES, for spelling out LC_ALL.
constexpr std::array<std::string_view, 11> kOtherCategories = {
    "LC_CTYPE", "LC_NUMERIC",   "LC_TIME",      "LC_COLLATE",     "LC_MONETARY",      "LC_PAPER",
    "LC_NAME",  "LC_ADDRESS",   "LC_TELEPHONE", "LC_MEASUREMENT", "LC_IDENTIFICATION"};

std::string_view NameOf(std::string_view entry) {
  const auto eq = entry.find('=');
  return eq == std::string_view::npos ? entry : entry.substr(0, eq);
}

bool IsOtherCategory(std::string_view name) {
  for (auto category : kOtherCategories) {
    if (name == category) return true;
  }
  return false;
}

}  // namespace

bool HaveDisplay(const char* display) { return display != nullptr && display[0] != '\0'; }

std::vector<std::string> TranslateEngineArguments(const std::string& binary, const std::vector<std::string>& hostArgs,
                                                  bool haveDisplay, bool engineHasEnca) {
  std::vector<std::string> out{binary, "-nolirc"};
  if (hostArgs.size() < 2) return out;
  const std::size_t mediumIndex = hostArgs.size() - 1;
  bool x11Output = false;

  for (std::size_t i = 1; i < mediumIndex; ++i) {
    const std::string& arg = hostArgs[i];
    // An option's value never reaches into the medium.
    const bool hasValue = i + 1 < mediumIndex;
    const std::string* value = hasValue ? &hostArgs[i + 1] : nullptr;

    if ((arg == "-vo" || arg == "-ao") && value) {
      out.push_back(arg);
      if (arg == "-vo" && *value == "directx") {
        out.push_back(haveDisplay ? "xv,x11," : "null");
        // The picture fills the window it is given, as the host expects: the
        // x11 output scales only when allowed to, and rescales when the
        // window changes size.
        if (haveDisplay) out.push_back("-zoom");
        x11Output = haveDisplay;
      } else if (arg == "-ao" && *value == "dsound") {
        out.push_back("pulse,alsa,null,");
      } else {
        out.push_back(*value);
      }
      ++i;
    } else if (arg == "-priority") {
      if (hasValue) ++i;
    } else if (arg == "-wid" && !haveDisplay) {
      // MPlayer ignores -wid under the null output (checked: it plays alike
      // with any number), but the id names an X11 window that cannot exist
      // here, so it is not passed on at all.
      if (hasValue) ++i;
    } else if (arg == "-max") {
      out.push_back("-softvol-max");
    } else if (arg == "-font" && value && value->find('/') != std::string::npos) {
      // Built with fontconfig, MPlayer reads -font as a pattern: a path
      // matches nothing and the fallback font has no Chinese glyphs.
      out.insert(out.end(), {"-nofontconfig", arg, *value});
      ++i;
    } else if (arg == "-subcp" && value && *value == "cp936" && engineHasEnca) {
      // GBK stays the guess when detection is unsure; Big5 and UTF-8 files
      // show right too.
      out.insert(out.end(), {arg, "enca:zh:cp936"});
      ++i;
    } else {
      out.push_back(arg);
    }
  }

  if (x11Output) {
    // The x11 output draws subtitles and the on-screen text on its scaled
    // image and, once the window has changed size under a shown subtitle,
    // never draws that subtitle again. So the last filter draws them into the
    // picture before any scaling, as an overlay output that scales in
    // hardware would show them; it draws them only on whole frames, not on
    // slices already passed on. It also pads the picture to a multiple of 16
    // pixels: the output's scaler corrupts memory and ends MPlayer when a
    // picture 854 or 856 pixels wide (16:9 of 480 lines) meets a window that
    // grows under it.
    out.insert(out.end(), {"-noslices", "-vf-add", "expand=::::1::16"});
  }

  // MPlayer has "--" too, but a bare "-" would still mean standard input,
  // which is our command pipe; "./" makes any such name a plain file.
  const std::string& medium = hostArgs[mediumIndex];
  out.push_back(!medium.empty() && medium[0] == '-' ? "./" + medium : medium);
  return out;
}

std::vector<std::string> BuildEngineEnvironment(const char* const* parentEnv) {
  std::vector<std::string> kept;
  std::string all;  // LC_ALL's value, if set and not empty
  for (auto entry = parentEnv; entry && *entry; ++entry) {
    const std::string_view text(*entry);
    const auto name = NameOf(text);
    if (name == "LC_ALL") {
      if (name.size() < text.size()) all = std::string(text.substr(name.size() + 1));
    } else if (name != "LC_MESSAGES" && name != "LANGUAGE") {
      kept.emplace_back(text);
    }
  }

  std::vector<std::string> env;
  env.reserve(kept.size() + kOtherCategories.size() + 1);
  for (auto& entry : kept) {
    // LC_ALL beat these in the parent, so its value wins here too.
    if (!all.empty() && IsOtherCategory(NameOf(entry))) continue;
    env.push_back(std::move(entry));
  }
  if (!all.empty()) {
    for (auto category : kOtherCategories) env.push_back(std::string(category) + "=" + all);
  }
  env.push_back("LC_MESSAGES=C");
  return env;
}
