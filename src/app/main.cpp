// Kinovue: the application object runs the main window. Here the program
// chooses its real parts; tests hand the window their own.
#include <QApplication>

#include "app/kinovue_app.h"
#include "app/version.h"
#include "dialogs/about_dlg.h"
#include "engine/mplayer_engine.h"
#include "mainwindow/command_line.h"
#include "mainwindow/kinovue_dlg.h"
#include "platform/key_state.h"
#include "platform/optical_drives.h"

int main(int argc, char** argv) {
  CKinovueApp app(argc, argv);
  return app.InitInstance(app::CommandLineText(argc, argv), [](const std::string& commandLine) {
    KinovueOptions options;
    options.commandLine = commandLine;
    // One key state for the window and the engine: both read the modifiers.
    options.keys = platform::MakeKeyState();
    options.engineFactory = [keys = options.keys](const std::string& programFolder) {
      return std::make_unique<CMplayerEngine>(programFolder, keys);
    };
    options.drives = platform::MakeOpticalDrives();
    options.showAbout = [](QWidget* parent) {
      CAboutDlg about(app::kProgramVersion, parent);
      about.exec();
    };
    CKinovueDlg window(std::move(options));
    if (!window.OnInitDialog()) return window.ExitCode();
    window.show();
    return QApplication::exec();
  });
}
