#include "engine/playback_speed.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr std::array kSteps{50, 75, 100, 125, 150, 200};

}  // namespace

std::span<const int> SpeedSteps() { return kSteps; }

int SlowerSpeed(int speed) {
  const auto below = std::find_if(kSteps.rbegin(), kSteps.rend(), [speed](int step) { return step < speed; });
  return below == kSteps.rend() ? kSteps.front() : *below;
}

int FasterSpeed(int speed) {
  const auto above = std::find_if(kSteps.begin(), kSteps.end(), [speed](int step) { return step > speed; });
  return above == kSteps.end() ? kSteps.back() : *above;
}

int ClampSpeed(long long speed) { return static_cast<int>(std::clamp<long long>(speed, kSlowestSpeed, kFastestSpeed)); }

std::string SpeedText(int speed) {
  std::string text = std::to_string(speed / 100);
  int fraction = speed % 100;
  if (fraction == 0) return text;
  text += '.';
  text += static_cast<char>('0' + fraction / 10);
  if (fraction % 10) text += static_cast<char>('0' + fraction % 10);
  return text;
}

std::string SpeedChangeCommands(int from, int to) {
  if (from == to) return {};
  const std::string set = "speed_set " + SpeedText(to);
  if (from == kNormalSpeed) return "af_add scaletempo\n" + set;
  if (to == kNormalSpeed) return set + "\naf_del scaletempo";
  return set;
}

std::optional<int> SpeedOfRate(double rate) {
  if (!std::isfinite(rate)) return std::nullopt;
  const long long speed = std::llround(rate * 100.0);
  if (speed < kSlowestSpeed || speed > kFastestSpeed) return std::nullopt;
  return static_cast<int>(speed);
}
