#pragma once
#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>

namespace testsupport {

// The process's QCoreApplication, created on first use (tests that need an
// event loop on the main thread call this first).
QCoreApplication* CoreApp();

// Runs the main thread's event loop until done() is true or timeoutMs passed.
// True when done() became true.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs);

}  // namespace testsupport
