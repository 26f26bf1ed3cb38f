#include "mainwindow/main_settings.h"

#include <algorithm>

namespace {

constexpr std::size_t kPathBuffer = 4096;  // a path read back, with its terminator

}  // namespace

void LoadMainSettings(IniFile& ini, MainSettings& s) {
  if (!ini.Exists()) {
    SaveMainSettings(ini, s);
    return;
  }
  int missing = 0;
  auto readBool = [&](const char* key, bool& field, bool fallback) {
    if (!ini.ReadBool(kMainSection, key, field)) {
      field = fallback;
      ++missing;
    }
  };
  if (!ini.ReadString(kMainSection, "LastOpen", s.LastOpen, kPathBuffer)) {
    s.LastOpen.clear();
    ++missing;
  }
  if (!ini.ReadInt(kMainSection, "VideoMutiple", s.VideoMutiple)) {
    s.VideoMutiple = 1;
    ++missing;
  }
  s.VideoMutiple = std::clamp(s.VideoMutiple, 1, 2);
  readBool("Topmost", s.Topmost, true);
  readBool("LockFaceProportion", s.LockFaceProportion, false);
  readBool("PlayListRandom", s.PlayListRandom, false);
  readBool("RepeatCurrent", s.RepeatCurrent, false);
  readBool("PlayListLoop", s.PlayListLoop, true);
  readBool("PlayListForward", s.PlayListForward, true);
  readBool("AutoPlayFromList", s.AutoPlayFromList, true);
  readBool("PlayFromList", s.PlayFromList, true);
  readBool("CheckFileAssociate", s.CheckFileAssociate, true);
  readBool("AutoUpdate", s.AutoUpdate, true);
  if (missing > 0) SaveMainSettings(ini, s);
}

void SaveMainSettings(IniFile& ini, const MainSettings& s) {
  auto flag = [](bool v) { return std::string(v ? "1" : "0"); };
  ini.WriteStrings(kMainSection, {{"LastOpen", s.LastOpen},
                                  {"VideoMutiple", std::to_string(s.VideoMutiple)},
                                  {"Topmost", flag(s.Topmost)},
                                  {"LockFaceProportion", flag(s.LockFaceProportion)},
                                  {"PlayListRandom", flag(s.PlayListRandom)},
                                  {"RepeatCurrent", flag(s.RepeatCurrent)},
                                  {"PlayListLoop", flag(s.PlayListLoop)},
                                  {"PlayListForward", flag(s.PlayListForward)},
                                  {"AutoPlayFromList", flag(s.AutoPlayFromList)},
                                  {"PlayFromList", flag(s.PlayFromList)},
                                  {"CheckFileAssociate", flag(s.CheckFileAssociate)},
                                  {"AutoUpdate", flag(s.AutoUpdate)}});
}
