#include "platform/quit_signals.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/time.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr int kQuitSignals[] = {SIGTERM, SIGINT, SIGHUP};

volatile sig_atomic_t received = 0;
volatile sig_atomic_t graceMs = 0;
int pipeRead = -1;
int pipeWrite = -1;

void EndBy(int sig) {
  struct sigaction standard {};
  standard.sa_handler = SIG_DFL;
  sigaction(sig, &standard, nullptr);
  // Delivered once this handler returns and the signal is no longer blocked.
  raise(sig);
}

// Async-signal-safe calls only.
void OnQuitSignal(int sig) {
  const int saved = errno;
  if (received != 0) {
    EndBy(sig);
  } else {
    received = sig;
    itimerval grace{};
    grace.it_value.tv_sec = graceMs / 1000;
    grace.it_value.tv_usec = (graceMs % 1000) * 1000;
    setitimer(ITIMER_REAL, &grace, nullptr);
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = write(pipeWrite, &byte, 1);
  }
  errno = saved;
}

// The grace time ran out: the program ends as the quit signal would have ended it.
void OnGraceOver(int) { EndBy(received != 0 ? received : SIGTERM); }

bool Handle(int sig, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  for (int quit : kQuitSignals) sigaddset(&action.sa_mask, quit);
  sigaddset(&action.sa_mask, SIGALRM);
  return sigaction(sig, &action, nullptr) == 0;
}

}  // namespace

struct QuitSignals::Reader {
  std::function<void(int)> onQuit;
  std::unique_ptr<QSocketNotifier> notifier;
  bool called = false;
};

QuitSignals::QuitSignals(std::function<void(int signal)> onQuit, int grace) : reader_(std::make_unique<Reader>()) {
  reader_->onQuit = std::move(onQuit);
  int fds[2];
  if (pipeRead >= 0 || pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
  pipeRead = fds[0];
  pipeWrite = fds[1];
  graceMs = grace;
  reader_->notifier = std::make_unique<QSocketNotifier>(pipeRead, QSocketNotifier::Read);
  Reader* reader = reader_.get();
  QObject::connect(reader->notifier.get(), &QSocketNotifier::activated, [reader] {
    char bytes[16];
    while (read(pipeRead, bytes, sizeof bytes) > 0) {
    }
    if (reader->called || received == 0) return;
    reader->called = true;
    if (reader->onQuit) reader->onQuit(received);
  });
  Handle(SIGALRM, OnGraceOver);
  for (int sig : kQuitSignals) Handle(sig, OnQuitSignal);
}

QuitSignals::~QuitSignals() {
  if (!reader_->notifier) return;
  for (int sig : kQuitSignals) signal(sig, SIG_DFL);
  reader_->notifier.reset();
  // The write end stays: a handler may still be running on another thread.
}

bool QuitSignals::Installed() const { return reader_->notifier != nullptr; }

int QuitSignals::Received() { return received; }

}  // namespace platform
