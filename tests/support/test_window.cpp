#include "test_window.h"

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

}  // namespace testsupport
