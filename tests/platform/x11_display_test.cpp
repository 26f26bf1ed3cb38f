#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <thread>

#include "platform/x11_display.h"
#include "xvfb.h"

namespace {

// A server whose last client leaves resets, and a connection made during the
// reset fails. The check's connection, held until the next client (the
// toolkit's) is in, keeps that client from ever meeting a reset.
TEST(X11DisplayCheck, WhileHeldTheNextConnectionNeverMeetsAServerReset) {
  testsupport::Xvfb x(320, 240, testsupport::Xvfb::WhenIdle::kReset);
  ASSERT_TRUE(x.Running()) << "Xvfb did not start";
  setenv("DISPLAY", x.Display().c_str(), 1);
  int failures = 0;
  for (int round = 0; round < 150; ++round) {
    // The check itself may arrive while the previous round's reset runs,
    // which takes longer on a busy machine.
    std::optional<platform::X11DisplayCheck> check;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!check.emplace().Opened() && std::chrono::steady_clock::now() < giveUp)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_TRUE(check->Opened()) << x.Health();
    Display* next = XOpenDisplay(nullptr);
    check.reset();
    if (next) {
      XCloseDisplay(next);
    } else {
      ++failures;
    }
  }
  EXPECT_EQ(failures, 0);
}

}  // namespace
