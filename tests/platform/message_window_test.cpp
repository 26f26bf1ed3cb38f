#include "platform/message_window.h"

#include <gtest/gtest.h>

#include <QThread>
#include <atomic>
#include <thread>
#include <vector>

#include "core_app.h"

using platform::MessageWindow;
using platform::PostMessage;
using platform::SendGate;
using platform::SendMessage;
using platform::WindowHandle;
using testsupport::PumpUntil;

namespace {

class MessageWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { testsupport::CoreApp(); }
};

TEST_F(MessageWindowTest, SendFromWorkerRunsOnOwnerThreadAndReturnsResult) {
  std::thread::id handledOn;
  MessageWindow window([&](unsigned msg, std::uintptr_t w, std::intptr_t l) -> std::intptr_t {
    handledOn = std::this_thread::get_id();
    return static_cast<std::intptr_t>(msg + w + static_cast<std::uintptr_t>(l));
  });
  std::atomic<bool> done = false;
  bool ok = false;
  std::intptr_t result = 0;
  std::thread worker([&] {
    ok = SendMessage(window.Handle(), 0x40a, 5, 7, &result);
    done = true;
  });
  EXPECT_TRUE(PumpUntil([&] { return done.load(); }, 5000));
  worker.join();
  EXPECT_TRUE(ok);
  EXPECT_EQ(result, 0x40a + 5 + 7);
  EXPECT_EQ(handledOn, std::this_thread::get_id());
}

TEST_F(MessageWindowTest, SendOnOwnThreadIsADirectCall) {
  int calls = 0;
  MessageWindow window([&](unsigned, std::uintptr_t, std::intptr_t) -> std::intptr_t { return ++calls; });
  std::intptr_t result = 0;
  EXPECT_TRUE(SendMessage(window.Handle(), 1, 0, 0, &result));
  EXPECT_EQ(result, 1);  // handled before SendMessage returned, with no loop running
}

TEST_F(MessageWindowTest, PostsAndSendsArriveInOrder) {
  std::vector<unsigned> seen;
  MessageWindow window([&](unsigned msg, std::uintptr_t, std::intptr_t) -> std::intptr_t {
    seen.push_back(msg);
    return 0;
  });
  std::atomic<bool> done = false;
  std::thread worker([&] {
    for (unsigned i = 0; i < 50; ++i) {
      if (i % 10 == 9)
        SendMessage(window.Handle(), i, 0, 0);
      else
        PostMessage(window.Handle(), i, 0, 0);
    }
    done = true;
  });
  EXPECT_TRUE(PumpUntil([&] { return done.load() && seen.size() == 50; }, 5000));
  worker.join();
  ASSERT_EQ(seen.size(), 50u);
  for (unsigned i = 0; i < 50; ++i) EXPECT_EQ(seen[i], i);
}

TEST_F(MessageWindowTest, UnknownOrDestroyedWindowFailsAtOnce) {
  WindowHandle gone = 0;
  {
    MessageWindow window([](unsigned, std::uintptr_t, std::intptr_t) -> std::intptr_t { return 0; });
    gone = window.Handle();
    EXPECT_TRUE(platform::IsWindow(gone));
  }
  EXPECT_FALSE(platform::IsWindow(gone));
  EXPECT_FALSE(PostMessage(gone, 1, 0, 0));
  std::thread worker([&] { EXPECT_FALSE(SendMessage(gone, 1, 0, 0)); });
  worker.join();  // returned without anybody pumping
  EXPECT_FALSE(SendMessage(0, 1, 0, 0));
  EXPECT_FALSE(SendMessage(0xdeadbeef, 1, 0, 0));
}

TEST_F(MessageWindowTest, DestroyingTheWindowReleasesAWaitingSender) {
  int calls = 0;
  auto window = std::make_unique<MessageWindow>([&](unsigned, std::uintptr_t, std::intptr_t) -> std::intptr_t {
    return ++calls;
  });
  const WindowHandle handle = window->Handle();
  std::atomic<int> outcome = -1;
  std::thread worker([&] { outcome = SendMessage(handle, 1, 0, 0) ? 1 : 0; });
  // Give the send time to be queued, then destroy the window without pumping.
  // (Destroyed before the send: it fails too, as unknown.)
  QThread::msleep(50);
  window.reset();
  worker.join();
  EXPECT_EQ(outcome.load(), 0);
  EXPECT_EQ(calls, 0);
}

TEST_F(MessageWindowTest, ClosingAGateReleasesItsSendersAndSkipsTheirHandlers) {
  int calls = 0;
  MessageWindow window([&](unsigned, std::uintptr_t, std::intptr_t) -> std::intptr_t { return ++calls; });
  SendGate gate;
  std::atomic<int> outcome = -1;
  std::thread worker([&] { outcome = SendMessage(window.Handle(), 1, 0, 0, nullptr, &gate) ? 1 : 0; });
  QThread::msleep(50);
  gate.Close();  // the owner's thread never pumped: the sender must still return
  worker.join();
  EXPECT_EQ(outcome.load(), 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(calls, 0);
  EXPECT_FALSE(SendMessage(window.Handle(), 1, 0, 0, nullptr, &gate));
  EXPECT_TRUE(SendMessage(window.Handle(), 1, 0, 0));
  EXPECT_EQ(calls, 1);
}

TEST_F(MessageWindowTest, WantedHandleIsUsedUnlessTaken) {
  auto none = [](unsigned, std::uintptr_t, std::intptr_t) -> std::intptr_t { return 0; };
  MessageWindow a(none, 0x1200007);
  MessageWindow b(none, 0x1200007);
  EXPECT_EQ(a.Handle(), 0x1200007u);
  EXPECT_NE(b.Handle(), a.Handle());
  EXPECT_GT(b.Handle(), 0xFFFFFFFFu);  // never collides with an X11 id
}

}  // namespace
