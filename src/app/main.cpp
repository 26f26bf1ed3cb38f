// Kinovue: the application object runs the main window.
#include <QApplication>

#include "app/about_dlg.h"
#include "app/command_line.h"
#include "app/kinovue_app.h"
#include "mainwindow/kinovue_dlg.h"

int main(int argc, char** argv) {
  CKinovueApp app(argc, argv);
  return app.InitInstance(app::CommandLineText(argc, argv), [](const std::string& commandLine) {
    KinovueOptions options;
    options.commandLine = commandLine;
    options.showAbout = [](QWidget* parent) {
      CAboutDlg about(parent);
      about.exec();
    };
    CKinovueDlg window(std::move(options));
    if (!window.OnInitDialog()) return window.ExitCode();
    window.show();
    return QApplication::exec();
  });
}
