// The quit signals in a process of their own each (a death test): what the
// first one calls, and what ends the process when the quit does not.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>

#include "core_app.h"
#include "platform/quit_signals.h"

namespace {

// Sends sig (twice when twice) and runs the event loop; the quit callback
// leaves with 100 + the signal it was given. No end comes from here.
void QuitBy(int sig, bool twice, int graceMs) {
  testsupport::CoreApp();
  int calls = 0;
  platform::QuitSignals quit([&](int received) { _exit(++calls == 1 ? 100 + received : 99); }, graceMs);
  if (!quit.Installed()) _exit(98);
  if (twice) {
    kill(getpid(), sig);
    kill(getpid(), sig);
  } else {
    kill(getpid(), sig);
  }
  testsupport::PumpUntil([] { return false; }, 5000);
  _exit(97);
}

TEST(QuitSignalsDeathTest, TheFirstCallsTheQuitASecondEndsAtOnceAndSoDoesTheEndOfTheGrace) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  for (const int sig : {SIGTERM, SIGINT, SIGHUP}) {
    EXPECT_EXIT(QuitBy(sig, false, 60000), testing::ExitedWithCode(100 + sig), "") << sig;
    EXPECT_EXIT(QuitBy(sig, true, 60000), testing::KilledBySignal(sig), "") << sig;
  }
  // A quit that never ends: the grace time does it, by the signal that asked.
  EXPECT_EXIT(
      {
        testsupport::CoreApp();
        platform::QuitSignals quit([](int) {}, 200);
        kill(getpid(), SIGHUP);
        testsupport::PumpUntil([] { return false; }, 5000);
        _exit(97);
      },
      testing::KilledBySignal(SIGHUP), "");
}

}  // namespace
