#pragma once
#include <cstdint>
#include <functional>
#include <memory>

// Window messages between threads: a target is a WindowHandle registered by a
// MessageWindow, which lives on the thread that created it. That thread must
// run a Qt event loop for messages from other threads to be handled.
namespace platform {

namespace detail {
class MessageReceiver;
}

// 0 is "no window". The same value serves as message target, as the X11
// window id handed to the engine, and as the id other instances look up.
using WindowHandle = std::uint64_t;

// Runs on the window's thread; its result goes back to SendMessage.
using MessageHandler = std::function<std::intptr_t(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)>;

class MessageWindow {
 public:
  // Registers a target. With wanted != 0 (an X11 window id) that value is the
  // handle unless it is taken; otherwise a fresh value that never collides
  // with X11 ids is chosen. Handles are never reused in a process.
  explicit MessageWindow(MessageHandler handler, WindowHandle wanted = 0);
  // Unregisters: later sends and posts fail; senders still waiting return
  // false, and queued posts are dropped. Destroy it on its own thread.
  ~MessageWindow();
  MessageWindow(const MessageWindow&) = delete;
  MessageWindow& operator=(const MessageWindow&) = delete;

  WindowHandle Handle() const { return handle_; }

 private:
  std::unique_ptr<detail::MessageReceiver> receiver_;
  WindowHandle handle_ = 0;
};

// Lets an owner (the engine) abandon the sends it has under way: once closed,
// every send made through it that is still waiting returns false at once and
// its handler never runs, and new sends through it fail immediately. Used so
// that a thread blocked in a send never holds up the owner's shutdown.
class SendGate {
 public:
  SendGate();
  ~SendGate();
  SendGate(const SendGate&) = delete;
  SendGate& operator=(const SendGate&) = delete;
  void Close();
  bool IsClosed() const;

 private:
  friend bool SendMessage(WindowHandle, unsigned, std::uintptr_t, std::intptr_t, std::intptr_t*, SendGate*);
  struct State;
  std::shared_ptr<State> state_;
};

// Runs the target's handler on the target's thread while the caller waits
// (a direct call when the caller is on that thread) and stores its result.
// False, at once, when the handle is unknown or destroyed, or when the
// target is destroyed (or the gate closed) before the handler ran.
bool SendMessage(WindowHandle target, unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                 std::intptr_t* result = nullptr, SendGate* gate = nullptr);

// Queues the message for the target's thread and returns at once. Posts and
// sends from one thread are handled in the order they were made.
// False when the handle is unknown or destroyed.
bool PostMessage(WindowHandle target, unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

// Handles the sends from other threads that wait for windows of the calling
// thread, and nothing else (no posts, no input, no timers). For a thread that
// must wait for another one which may be sending to it meanwhile.
void DispatchSentMessages();

// The handle names a live window.
bool IsWindow(WindowHandle target);

}  // namespace platform
