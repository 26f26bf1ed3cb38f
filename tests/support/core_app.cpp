#include "core_app.h"

#include <QThread>

namespace testsupport {

QCoreApplication* CoreApp() {
  if (!QCoreApplication::instance()) {
    static int argc = 1;
    static char name[] = "kinovue-test";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
  }
  return QCoreApplication::instance();
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() >= timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
  return true;
}

}  // namespace testsupport
