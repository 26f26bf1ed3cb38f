// The quit signals, each case in a process of its own (a death test).
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>

#include "core_app.h"
#include "platform/quit_signals.h"

namespace {

// Sends sig `times` times and runs the event loop. The quit leaves with 100
// + the signal it was given, unless it is told to hang.
void QuitBy(int sig, int times, bool hang, int graceMs) {
  testsupport::CoreApp();
  platform::QuitSignals quit([hang](int received) { if (!hang) _exit(100 + received); }, graceMs);
  for (int i = 0; i < times; ++i) kill(getpid(), sig);
  testsupport::PumpUntil([] { return false; }, 5000);
  _exit(quit.Installed() ? 97 : 98);
}

TEST(QuitSignalsDeathTest, TheFirstCallsTheQuitASecondEndsAtOnceAndSoDoesTheEndOfTheGrace) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  for (const int sig : {SIGTERM, SIGINT, SIGHUP}) {
    EXPECT_EXIT(QuitBy(sig, 1, false, 60000), testing::ExitedWithCode(100 + sig), "") << sig;
    EXPECT_EXIT(QuitBy(sig, 2, false, 60000), testing::KilledBySignal(sig), "") << sig;
    EXPECT_EXIT(QuitBy(sig, 1, true, 200), testing::KilledBySignal(sig), "") << sig;
  }
}

}  // namespace
