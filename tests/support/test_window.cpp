#include "test_window.h"

#include "engine/mplayer_engine.h"
#include "mainwindow/command_table.h"
#include "platform/key_state.h"
#include "test_media.h"

namespace testsupport {

KinovueOptions TestWindowOptions(const std::string& folder, FileTypeQuestion question) {
  if (question == FileTypeQuestion::Off) SkipFileTypeQuestion(folder);
  KinovueOptions options;
  options.programFolder = folder + "/";
  options.runtimeFolder = folder;
  options.updateLibraryPath = KINOVUE_UPDATE_LIBRARY;
  options.association.configHome = folder + "/config";
  options.association.dataHome = folder + "/data";
  options.association.updateTool = "/nonexistent/update-desktop-database";
  return options;
}

void UseRealEngine(KinovueOptions& options) {
  options.keys = platform::MakeKeyState();
  options.engineFactory = [keys = options.keys](const std::string& programFolder) {
    return std::make_unique<CMplayerEngine>(programFolder, keys, EngineKeyTable());
  };
}

}  // namespace testsupport
