#include "mainwindow/main_settings.h"

#include "platform/file_name.h"

namespace {

using Row = SettingRow<MainSettings>;
using M = MainSettings;

// key, field, first start, key missing, range (texts: bytes read back).
constexpr Row kRows[] = {
    {"LastOpen", &M::LastOpen, {}, {}, 0, platform::kMaxPathBytes},
    {"VideoMutiple", &M::VideoMutiple, 1, 1, 1, 2},
    {"Topmost", &M::Topmost, true, true},
    {"LockFaceProportion", &M::LockFaceProportion, true, false},
    {"PlayListRandom", &M::PlayListRandom, false, false},
    {"RepeatCurrent", &M::RepeatCurrent, false, false},
    {"PlayListLoop", &M::PlayListLoop, true, true},
    {"PlayListForward", &M::PlayListForward, true, true},
    {"AutoPlayFromList", &M::AutoPlayFromList, true, true},
    {"PlayFromList", &M::PlayFromList, true, true},
    {"CheckFileAssociate", &M::CheckFileAssociate, true, true},
    {"AutoUpdate", &M::AutoUpdate, true, true},
    {"RememberPlayPosition", &M::RememberPlayPosition, true, true},
};

}  // namespace

MainSettings::MainSettings() { ApplyFileAbsentValues(MainSettingRows(), *this); }

SettingRows<MainSettings> MainSettingRows() { return kRows; }

void LoadMainSettings(IniFile& ini, MainSettings& settings) {
  LoadSettingRows(ini, kMainSection, MainSettingRows(), settings);
}

void SaveMainSettings(IniFile& ini, const MainSettings& settings) {
  SaveSettingRows(ini, kMainSection, MainSettingRows(), settings);
}
