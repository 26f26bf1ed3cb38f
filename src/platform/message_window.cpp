#include "platform/message_window.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QThread>
#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace platform {
namespace {

// Hand-over of one send between the sender's thread and the target's.
struct PendingSend {
  std::mutex mutex;
  std::condition_variable done;
  bool finished = false;
  bool handled = false;
  std::intptr_t result = 0;

  // First finisher wins: the handler, the target's destruction or the gate.
  bool Finish(bool wasHandled, std::intptr_t value) {
    {
      std::lock_guard lock(mutex);
      if (finished) return false;
      finished = true;
      handled = wasHandled;
      result = value;
    }
    done.notify_all();
    return true;
  }
  bool IsFinished() {
    std::lock_guard lock(mutex);
    return finished;
  }
};

const QEvent::Type kSendEvent = static_cast<QEvent::Type>(QEvent::registerEventType());
const QEvent::Type kPostEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

struct MessageEvent : QEvent {
  MessageEvent(QEvent::Type type, unsigned m, std::uintptr_t w, std::intptr_t l, std::shared_ptr<PendingSend> s)
      : QEvent(type), message(m), wParam(w), lParam(l), send(std::move(s)) {}
  // A send dropped unhandled (target destroyed) must not leave its sender waiting.
  ~MessageEvent() override {
    if (send) send->Finish(false, 0);
  }
  unsigned message;
  std::uintptr_t wParam;
  std::intptr_t lParam;
  std::shared_ptr<PendingSend> send;
};

// X11 ids use at most 29 bits; our own handles start above 32 bits.
constexpr WindowHandle kFirstOwnHandle = WindowHandle{1} << 32;

}  // namespace

// Every message event is made and posted while the registry's lock is held;
// taking that lock once before reading one makes the hand-over between the
// threads explicit (Qt's own queue locking is invisible to race checkers).
void AcquirePosted();

namespace detail {

class MessageReceiver : public QObject {
 public:
  explicit MessageReceiver(MessageHandler h) : handler(std::move(h)) {}
  bool event(QEvent* e) override {
    AcquirePosted();
    if (e->type() != kSendEvent && e->type() != kPostEvent) return QObject::event(e);
    auto* m = static_cast<MessageEvent*>(e);
    if (m->send) {
      if (m->send->IsFinished()) return true;  // sender gave up (gate closed)
      const std::intptr_t result = handler(m->message, m->wParam, m->lParam);
      m->send->Finish(true, result);
    } else {
      handler(m->message, m->wParam, m->lParam);
    }
    return true;
  }
  MessageHandler handler;
};

}  // namespace detail

namespace {

struct Registry {
  std::mutex mutex;
  std::unordered_map<WindowHandle, detail::MessageReceiver*> windows;
  WindowHandle nextOwnHandle = kFirstOwnHandle;
};

Registry& TheRegistry() {
  static Registry* registry = new Registry;  // outlives every static window
  return *registry;
}

}  // namespace

struct SendGate::State {
  std::mutex mutex;
  bool closed = false;
  std::vector<std::weak_ptr<PendingSend>> pending;
};

SendGate::SendGate() : state_(std::make_shared<State>()) {}
SendGate::~SendGate() { Close(); }

void SendGate::Close() {
  std::vector<std::weak_ptr<PendingSend>> pending;
  {
    std::lock_guard lock(state_->mutex);
    state_->closed = true;
    pending.swap(state_->pending);
  }
  for (auto& weak : pending) {
    if (auto send = weak.lock()) send->Finish(false, 0);
  }
}

bool SendGate::IsClosed() const {
  std::lock_guard lock(state_->mutex);
  return state_->closed;
}

MessageWindow::MessageWindow(MessageHandler handler, WindowHandle wanted)
    : receiver_(std::make_unique<detail::MessageReceiver>(std::move(handler))) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  if (wanted != 0 && !registry.windows.count(wanted)) {
    handle_ = wanted;
  } else {
    handle_ = registry.nextOwnHandle++;
  }
  registry.windows[handle_] = receiver_.get();
}

MessageWindow::~MessageWindow() {
  {
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    registry.windows.erase(handle_);
  }
  // Deleting the receiver drops its queued events, which releases their senders.
  receiver_.reset();
}

bool SendMessage(WindowHandle target, unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                 std::intptr_t* result, SendGate* gate) {
  auto send = std::make_shared<PendingSend>();
  MessageHandler direct;
  {
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    const auto it = registry.windows.find(target);
    if (it == registry.windows.end()) return false;
    // Only a send that waits for another thread is the gate's to release:
    // one on the target's own thread is a plain call.
    if (gate) {
      std::lock_guard gateLock(gate->state_->mutex);
      if (gate->state_->closed) return false;
      if (it->second->thread() != QThread::currentThread()) {
        auto& list = gate->state_->pending;
        list.erase(std::remove_if(list.begin(), list.end(), [](const auto& w) { return w.expired(); }), list.end());
        list.push_back(send);
      }
    }
    if (it->second->thread() == QThread::currentThread()) {
      direct = it->second->handler;  // a copy: the handler may destroy its window
    } else {
      QCoreApplication::postEvent(it->second, new MessageEvent(kSendEvent, message, wParam, lParam, send));
    }
  }
  if (direct) {
    // Same thread: a plain call, as if the target's loop had dispatched it.
    const std::intptr_t value = direct(message, wParam, lParam);
    if (result) *result = value;
    return true;
  }
  std::unique_lock lock(send->mutex);
  send->done.wait(lock, [&] { return send->finished; });
  if (send->handled && result) *result = send->result;
  return send->handled;
}

bool PostMessage(WindowHandle target, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  const auto it = registry.windows.find(target);
  if (it == registry.windows.end()) return false;
  QCoreApplication::postEvent(it->second, new MessageEvent(kPostEvent, message, wParam, lParam, nullptr));
  return true;
}

void AcquirePosted() { std::lock_guard lock(TheRegistry().mutex); }

void DispatchSentMessages() { QCoreApplication::sendPostedEvents(nullptr, kSendEvent); }

bool IsWindow(WindowHandle target) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  return registry.windows.count(target) != 0;
}

}  // namespace platform
