// Kinovue: the application object runs the main window. Here the program
// chooses its real parts; tests hand the window their own.
#include <QApplication>

#include "app/kinovue_app.h"
#include "app/version.h"
#include "dialogs/about_dlg.h"
#include "engine/mplayer_engine.h"
#include "mainwindow/command_line.h"
#include "mainwindow/command_table.h"
#include "mainwindow/kinovue_dlg.h"
#include "platform/key_state.h"
#include "platform/optical_drives.h"
#include "platform/quit_signals.h"

namespace {

// From a quit signal to the end of the process, at most.
constexpr int kQuitGraceMs = 1500;

}  // namespace

int main(int argc, char** argv) {
  CKinovueApp app(argc, argv);
  const std::vector<std::string> arguments = app::CommandLineArguments(argc, argv);
  return app.InitInstance(app::CommandLineText(argc, argv), [&arguments](const std::string& commandLine) {
    KinovueOptions options;
    options.commandLine = commandLine;
    options.arguments = arguments;
    // One key state for the window and the engine: both read the modifiers.
    options.keys = platform::MakeKeyState();
    options.engineFactory = [keys = options.keys](const std::string& programFolder) {
      return std::make_unique<CMplayerEngine>(programFolder, keys, EngineKeyTable());
    };
    options.drives = platform::MakeOpticalDrives();
    options.showAbout = [](QWidget* parent) {
      CAboutDlg about(app::kProgramVersion, parent);
      about.exec();
    };
    CKinovueDlg window(std::move(options));
    if (!window.OnInitDialog()) return window.ExitCode();
    // A logout, Ctrl+C or a closed terminal quits as Exit does, within the
    // grace time; everything the user changed is on disk by then.
    platform::QuitSignals quitSignals([&window](int) { window.OnCancel(); }, kQuitGraceMs);
    window.show();
    const int code = QApplication::exec();
    const int signal = platform::QuitSignals::Received();
    return signal ? 128 + signal : code;
  });
}
