#pragma once
#include <QApplication>

// One QApplication for the whole test program, made on first use and never
// destroyed; offscreen unless the caller chose a platform.
inline QApplication& ShellTestApp() {
  static int argc = 1;
  static char name[] = "app_shell_test";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}
