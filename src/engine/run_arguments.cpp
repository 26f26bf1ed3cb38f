#include "engine/run_arguments.h"

#include <algorithm>
#include <numeric>

#include "engine/playback_speed.h"
#include "platform/program_folder.h"

bool IsLocalMedium(const std::string& fileName) {
  // A bare "/" counts like a bare drive root: it gets the cache.
  return fileName.size() > 1 && platform::IsLocalPath(fileName);
}

std::string ScreenProportion(ScreenSize screen) {
  if (screen.width <= 0 || screen.height <= 0) return "4/3";
  const int divisor = std::gcd(screen.width, screen.height);
  return std::to_string(screen.width / divisor) + "/" + std::to_string(screen.height / divisor);
}

std::vector<std::string> BuildRunArguments(const EngineSettings& s, platform::WindowHandle videoWindow,
                                              const std::string& fileName, const std::string& fontFile,
                                              ScreenSize screen) {
  std::vector<std::string> a = {
      "kinovue.exe",
      "-slave", "-identify",
      "-wid", std::to_string(videoWindow),
      "-colorkey", "0x101010",
      "-vo", "directx",
      "-autosync", "30",
      "-vf", "screenshot=2",
      "-subfont-text-scale", "3.5",
      "-slang", "zh,ch,tw",
      "-double",
      "-sub-fuzziness", "1",
      "-subpos", "100",
      "-subalign", "2",
      "-spualign", "2",
  };
  if (!fontFile.empty()) a.insert(a.end(), {"-font", fontFile});
  a.insert(a.end(), {"-subcp", "cp936"});
  if (s.reIndex) a.push_back("-idx");
  if (s.softVol) a.insert(a.end(), {"-softvol", "-max", "100"});
  if (s.priorityBoost) a.insert(a.end(), {"-priority", "abovenormal"});
  a.insert(a.end(), {"-ao", "dsound"});
  if (s.audioId >= 0 && s.audioOut > 0) a.insert(a.end(), {"-aid", std::to_string(s.audioId)});
  if (s.channels >= 0 && s.channels <= 2) a.insert(a.end(), {"-stereo", std::to_string(s.channels)});
  if (s.subId >= 0) a.insert(a.end(), {"-sid", std::to_string(s.subId)});
  switch (s.aspect) {
    case 0: a.insert(a.end(), {"-vf", "screenshot=2,expand=:::::" + ScreenProportion(screen) + ":2"}); break;
    case 1: a.insert(a.end(), {"-vf", "screenshot=2,expand=:::::4/3:2"}); break;
    case 2: a.insert(a.end(), {"-vf", "screenshot=2,expand=:::::16/9:2"}); break;
    case 3: a.insert(a.end(), {"-vf", "screenshot=2,expand=:::::16/10:2"}); break;
    default: break;
  }
  // No bare "pp" after the strong filter: the engine would take it for a medium.
  if (s.postproc == 1) a.insert(a.end(), {"-autoq", "10", "-vf-add", "pp"});
  if (s.postproc == 2) a.insert(a.end(), {"-vf-add", "pp=hb/vb/dr"});
  if (s.deinterlace == 1) a.insert(a.end(), {"-vf-add", "lavcdeint"});
  if (s.deinterlace == 2) a.insert(a.end(), {"-vf-add", "kerndeint"});
  // Pitch kept by a filter that is only there when the speed is not normal.
  if (s.speed != kNormalSpeed) a.insert(a.end(), {"-af-add", "scaletempo", "-speed", SpeedText(s.speed)});
  // Only the space separates extra parameters; tabs and quotes mean nothing.
  for (std::size_t i = 0; i < s.params.size();) {
    if (s.params[i] == ' ') {
      ++i;
      continue;
    }
    const std::size_t end = std::min(s.params.find(' ', i), s.params.size());
    a.push_back(s.params.substr(i, end - i));
    i = end;
  }
  if (!IsLocalMedium(fileName)) a.insert(a.end(), {"-cache", std::to_string(s.playCache < 1 ? 2048 : s.playCache)});
  a.push_back(fileName);
  return a;
}
