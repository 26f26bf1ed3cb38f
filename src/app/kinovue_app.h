#pragma once
#include <functional>
#include <string>

// The application object: the program's start. It reads nothing itself:
// main() gives it the command-line text and a way to run the main window.
class CKinovueApp {
 public:
  // Runs the main window with the command-line text until it closes; the
  // result is the program's exit code.
  using MainWindowRunner = std::function<int(const std::string& commandLine)>;

  // argv[0] is kept for the Qt application object; the other arguments are
  // never shown to Qt, so a file named like a Qt option ("-reverse") is
  // still a file.
  CKinovueApp(int argc, char** argv);
  ~CKinovueApp();
  CKinovueApp(const CKinovueApp&) = delete;
  CKinovueApp& operator=(const CKinovueApp&) = delete;

  // "--help" and "-h" print the usage, "--version" the version, on stdout;
  // "-install" and "-remove" send their ping. These return 0 without any
  // window and without needing a display. Any other text runs the main
  // window and returns its result, or says that an X11 display is needed
  // and returns 1 when none can be opened. Makes the Qt application object for that
  // time (QCoreApplication for the pings, QApplication for the window)
  // unless the process has one already.
  int InitInstance(const std::string& commandLine, const MainWindowRunner& runMainWindow);

 private:
  std::string programName_;
  int qtArgc_ = 1;
  char* qtArgv_[2] = {nullptr, nullptr};
};
