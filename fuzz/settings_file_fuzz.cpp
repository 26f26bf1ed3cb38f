// Loads the main window's and the engine's sections from an arbitrary
// settings file: no crash, every number held to its range, texts no longer
// than their buffers, and what the first load wrote back loads the same.
#include <unistd.h>

#include <cassert>
#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/engine_settings.h"
#include "mainwindow/main_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  char path[] = "/tmp/settings_file_fuzz.XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) return 0;
  const bool written = write(fd, data, size) == static_cast<ssize_t>(size);
  close(fd);
  if (written) {
    IniFile ini(path);
    MainSettings main;
    LoadMainSettings(ini, main);
    assert(main.VideoMutiple >= 1 && main.VideoMutiple <= 2);
    assert(main.LastOpen.size() <= 4095);
    EngineSettings engine;
    LoadEngineSettings(ini, engine);
    assert(engine.playCache <= 8192);
    assert(engine.volume >= 0 && engine.volume <= 100);
    assert(engine.params.size() <= 259);
    MainSettings mainAgain;
    LoadMainSettings(ini, mainAgain);
    for (const auto& row : MainSettingRows()) assert(SettingText(row, main) == SettingText(row, mainAgain));
    EngineSettings engineAgain;
    LoadEngineSettings(ini, engineAgain);
    for (const auto& row : EngineSettingRows()) assert(SettingText(row, engine) == SettingText(row, engineAgain));
  }
  std::remove(path);
  return 0;
}
