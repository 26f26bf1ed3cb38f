#include "engine/command_set.h"

#include <array>
#include <string_view>

#include "engine/engine_types.h"

namespace {

enum class Form {
  Plain,       // "verb"
  Signed,      // "verb N" / "verb -N"
  SignedPlus,  // "verb +N" / "verb -N"
  Tenths,      // "verb 0.N" / "verb -0.N", nothing for 0
  TenthsPlus,  // "verb +0.N" / "verb -0.N", nothing for 0
};

struct CommandRow {
  int code;
  std::string_view verb;
  Form form;
};

constexpr std::array kRows{
    CommandRow{ENGINE_CMD_AUDIO_DELAY, "audio_delay", Form::Tenths},
    CommandRow{ENGINE_CMD_QUERY_PERCENT, "get_percent_pos", Form::Plain},
    CommandRow{ENGINE_CMD_FRAME_DROP, "frame_drop", Form::Plain},
    CommandRow{ENGINE_CMD_PLAYTREE_UP, "pt_up_step", Form::Signed},
    CommandRow{ENGINE_CMD_PLAYTREE_STEP, "pt_step", Form::Signed},
    CommandRow{ENGINE_CMD_ALT_SOURCE_STEP, "alt_src_step", Form::Signed},
    CommandRow{ENGINE_CMD_SUB_DELAY, "sub_delay", Form::TenthsPlus},
    CommandRow{ENGINE_CMD_CONTRAST, "contrast", Form::SignedPlus},
    CommandRow{ENGINE_CMD_BRIGHTNESS, "brightness", Form::SignedPlus},
    CommandRow{ENGINE_CMD_HUE, "hue", Form::SignedPlus},
    CommandRow{ENGINE_CMD_SATURATION, "saturation", Form::SignedPlus},
    CommandRow{ENGINE_CMD_SUB_POS, "sub_pos", Form::SignedPlus},
    CommandRow{ENGINE_CMD_SCREENSHOT, "screenshot", Form::Plain},
    CommandRow{ENGINE_CMD_PANSCAN, "panscan", Form::TenthsPlus},
    CommandRow{ENGINE_CMD_SWITCH_AUDIO, "switch_audio", Form::Plain},
    CommandRow{ENGINE_CMD_AUDIO_LANG, "audio_lang", Form::Plain},
    CommandRow{ENGINE_CMD_VOBSUB_LANG, "vobsub_lang", Form::Plain},
    CommandRow{ENGINE_CMD_TXTSUB_LANG, "txtsub_lang", Form::Plain},
    CommandRow{ENGINE_CMD_DVDSUB_LANG, "dvdsub_lang", Form::Plain},
    CommandRow{ENGINE_CMD_KEEP_ASPECT, "keep_aspect", Form::Plain},
};

unsigned long long Magnitude(long long arg) {
  return arg < 0 ? 0ull - static_cast<unsigned long long>(arg) : static_cast<unsigned long long>(arg);
}

}  // namespace

std::string SignedAmount(long long arg, bool plusSign) {
  std::string text;
  if (arg > 0) {
    if (plusSign) text += '+';
    text += std::to_string(arg);
  } else {
    text += '-';
    text += std::to_string(Magnitude(arg));
  }
  return text;
}

std::string TenthsAmount(long long arg, bool plusSign) {
  if (arg == 0) return {};
  std::string text;
  if (arg < 0) text += '-';
  if (arg > 0 && plusSign) text += '+';
  text += "0.";
  text += std::to_string(Magnitude(arg) / 100);
  return text;
}

std::optional<std::string> PlainCommandText(int code, long long arg) {
  for (const CommandRow& row : kRows) {
    if (row.code != code) continue;
    const std::string verb(row.verb);
    switch (row.form) {
      case Form::Plain: return verb;
      case Form::Signed: return verb + " " + SignedAmount(arg, false);
      case Form::SignedPlus: return verb + " " + SignedAmount(arg, true);
      case Form::Tenths:
      case Form::TenthsPlus: {
        const std::string amount = TenthsAmount(arg, row.form == Form::TenthsPlus);
        return amount.empty() ? std::string() : verb + " " + amount;
      }
    }
  }
  return std::nullopt;
}
