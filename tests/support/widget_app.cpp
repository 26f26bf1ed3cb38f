#include "widget_app.h"

#include "xvfb.h"

namespace testsupport {

QApplication& WidgetApp() {
  static int argc = 1;
  static char name[] = "kinovue-test";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

QApplication* WidgetAppOnXvfb() {
  static Xvfb server;
  if (!server.Running()) return nullptr;
  qputenv("DISPLAY", QByteArray::fromStdString(server.Display()));
  qputenv("QT_QPA_PLATFORM", "xcb");
  return &WidgetApp();
}

}  // namespace testsupport
