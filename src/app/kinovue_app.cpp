#include "app/kinovue_app.h"

#include <QApplication>
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

#include "mainwindow/command_line.h"
#include "app/install_ping.h"
#include "app/usage.h"
#include "net/net_module_contract.h"
#include "platform/program_folder.h"
#include "platform/x11_display.h"

namespace {

// Qt's X11 platform is the one in use unless another is asked for (the
// tests' offscreen one). Without a display Qt would abort with a core dump.
bool NeedsX11Display() {
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  return platform.isEmpty() || platform.startsWith("xcb");
}

}  // namespace

CKinovueApp::CKinovueApp(int argc, char** argv)
    : programName_(argc > 0 && argv && argv[0] ? argv[0] : "kinovue") {
  qtArgv_[0] = programName_.data();
}

CKinovueApp::~CKinovueApp() = default;

int CKinovueApp::InitInstance(const std::string& commandLine, const MainWindowRunner& runMainWindow) {
  // Qt's widgets need no common-control registration or ActiveX hosting,
  // and BSD sockets need no start-up: those steps have nothing to do here.
  const app::CommandLineMode mode = app::ModeOf(commandLine);
  // Answered before anything else: no display, settings, lock or network.
  if (mode == app::COMMAND_LINE_HELP || mode == app::COMMAND_LINE_VERSION) {
    const std::string text = mode == app::COMMAND_LINE_VERSION
                                 ? app::VersionText()
                                 : app::UsageText(app::IsChineseLocale(std::getenv("LC_ALL"),
                                                                       std::getenv("LC_MESSAGES"), std::getenv("LANG")));
    std::fputs(text.c_str(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  if (mode != app::COMMAND_LINE_NORMAL) {
    std::unique_ptr<QCoreApplication> own;
    if (!QCoreApplication::instance()) own = std::make_unique<QCoreApplication>(qtArgc_, qtArgv_);
    app::SendModePing(commandLine, app::StatisticsServer(), platform::ProgramFolder() + net::kNetModuleFile);
    return 0;
  }
  std::optional<platform::X11DisplayCheck> display;
  if (NeedsX11Display() && !display.emplace().Opened()) {
    std::fputs("kinovue: Kinovue needs an X11 display, and DISPLAY is not set or cannot be opened.\n", stderr);
    return 1;
  }
  // The menu bar stays in the window: no probe for a desktop-wide menu over
  // D-Bus, which costs start-up time and may launch a session bus.
  QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
  std::unique_ptr<QApplication> own;
  if (!QCoreApplication::instance()) own = std::make_unique<QApplication>(qtArgc_, qtArgv_);
  display.reset();  // Qt holds a connection of its own now
  return runMainWindow ? runMainWindow(commandLine) : 0;
}
