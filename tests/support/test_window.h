#pragma once
#include <string>
#include <vector>

#include "mainwindow/kinovue_dlg.h"
#include "platform/optical_drives.h"
#include "temp_dir.h"

namespace testsupport {

// Whether a test window's settings file switches the start-up file-type
// question off (tests that are not about file types) or is left as it is.
enum class FileTypeQuestion { Off, AsSettingsSay };

// Options for a main window under test that keeps everything in folder: its
// program folder ("dat/kinovue.ini" included), its runtime files and a file
// association of its own, never the user's; the built update library.
KinovueOptions TestWindowOptions(const std::string& folder, FileTypeQuestion question = FileTypeQuestion::Off);
inline KinovueOptions TestWindowOptions(const TempDir& folder, FileTypeQuestion question = FileTypeQuestion::Off) {
  return TestWindowOptions(folder.Path(), question);
}

// The parts the program itself uses: the real engine (hosting the program
// folder's libmplayer.so) and the X server's key state, shared by both.
void UseRealEngine(KinovueOptions& options);

// A computer without optical drives.
struct NoDrives : platform::OpticalDrives {
  std::vector<std::string> List() const override { return {}; }
};

}  // namespace testsupport
