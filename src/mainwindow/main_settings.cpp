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
  ini.WriteString(kMainSection, "LastOpen", s.LastOpen);
  ini.WriteInt(kMainSection, "VideoMutiple", s.VideoMutiple);
  ini.WriteBool(kMainSection, "Topmost", s.Topmost);
  ini.WriteBool(kMainSection, "LockFaceProportion", s.LockFaceProportion);
  ini.WriteBool(kMainSection, "PlayListRandom", s.PlayListRandom);
  ini.WriteBool(kMainSection, "RepeatCurrent", s.RepeatCurrent);
  ini.WriteBool(kMainSection, "PlayListLoop", s.PlayListLoop);
  ini.WriteBool(kMainSection, "PlayListForward", s.PlayListForward);
  ini.WriteBool(kMainSection, "AutoPlayFromList", s.AutoPlayFromList);
  ini.WriteBool(kMainSection, "PlayFromList", s.PlayFromList);
  ini.WriteBool(kMainSection, "CheckFileAssociate", s.CheckFileAssociate);
  ini.WriteBool(kMainSection, "AutoUpdate", s.AutoUpdate);
}
