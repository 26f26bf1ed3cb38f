#include "session_bus.h"

namespace testsupport {

SessionBus::SessionBus(const std::string& folder) {
  daemon_.start("dbus-daemon", {"--session", "--nofork", "--nopidfile", "--print-address=1",
                                QString::fromStdString("--address=unix:tmpdir=" + folder)});
  if (daemon_.waitForStarted(5000) && daemon_.waitForReadyRead(5000))
    address_ = daemon_.readLine().trimmed().toStdString();
}

SessionBus::~SessionBus() {
  if (daemon_.state() == QProcess::NotRunning) return;
  daemon_.kill();
  daemon_.waitForFinished(3000);
}

}  // namespace testsupport
