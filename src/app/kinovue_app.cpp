#include "app/kinovue_app.h"

#include <QApplication>
#include <QCoreApplication>
#include <memory>

#include "app/command_line.h"
#include "app/install_ping.h"

CKinovueApp::CKinovueApp(int argc, char** argv)
    : programName_(argc > 0 && argv && argv[0] ? argv[0] : "kinovue") {
  qtArgv_[0] = programName_.data();
}

CKinovueApp::~CKinovueApp() = default;

int CKinovueApp::InitInstance(const std::string& commandLine, const MainWindowRunner& runMainWindow) {
  // Qt's widgets need no common-control registration or ActiveX hosting,
  // and BSD sockets need no start-up: those steps have nothing to do here.
  if (app::ModeOf(commandLine) != app::COMMAND_LINE_NORMAL) {
    std::unique_ptr<QCoreApplication> own;
    if (!QCoreApplication::instance()) own = std::make_unique<QCoreApplication>(qtArgc_, qtArgv_);
    app::SendModePing(commandLine, app::StatisticsServer());
    return 0;
  }
  std::unique_ptr<QApplication> own;
  if (!QCoreApplication::instance()) own = std::make_unique<QApplication>(qtArgc_, qtArgv_);
  return runMainWindow ? runMainWindow(commandLine) : 0;
}
