#include "test_window.h"

#include "engine/mplayer_engine.h"
#include "platform/key_state.h"
#include "test_media.h"

namespace testsupport {

KinovueOptions TestWindowOptions(const TempDir& folder, FileTypeQuestion question) {
  if (question == FileTypeQuestion::Off) SkipFileTypeQuestion(folder.Path());
  KinovueOptions options;
  options.programFolder = folder.Path() + "/";
  options.runtimeFolder = folder.Path();
  options.updateLibraryPath = KINOVUE_UPDATE_LIBRARY;
  options.association.configHome = folder.File("config");
  options.association.dataHome = folder.File("data");
  options.association.updateTool = "/nonexistent/update-desktop-database";
  return options;
}

void UseRealEngine(KinovueOptions& options) {
  options.keys = platform::MakeKeyState();
  options.engineFactory = [keys = options.keys](const std::string& programFolder) {
    return std::make_unique<CMplayerEngine>(programFolder, keys);
  };
}

}  // namespace testsupport
