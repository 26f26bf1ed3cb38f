#include "platform/hand_over.h"

#include <QObject>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <utility>
#include <unistd.h>

#include "platform/runtime_folder.h"

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

constexpr char kAnswerHandled = 1;
// Far more than any burst of real starts; beyond it a client is closed at
// once and its sender tries again, so descriptors cannot run out.
constexpr int kMaxOpenConnections = 256;

std::string EncodeMessage(std::uint64_t dwData, const std::string& bytes) {
  std::string message(kHandOverHeaderBytes, '\0');
  for (int i = 0; i < 8; ++i) message[i] = static_cast<char>(dwData >> (8 * i));
  const auto size = static_cast<std::uint32_t>(bytes.size());
  for (int i = 0; i < 4; ++i) message[8 + i] = static_cast<char>(size >> (8 * i));
  return message + bytes;
}

std::uint64_t DecodeLittleEndian(const char* data, int count) {
  std::uint64_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(data[i]);
  return value;
}

// Closes the descriptor it was given, once.
class FdCloser {
 public:
  explicit FdCloser(int fd) : fd_(fd) {}
  ~FdCloser() {
    if (fd_ >= 0) close(fd_);
  }
  FdCloser(const FdCloser&) = delete;
  FdCloser& operator=(const FdCloser&) = delete;
  int Get() const { return fd_; }

 private:
  int fd_;
};

// The other end closed the connection entirely (not only its writing side).
bool PeerClosed(int fd) {
  pollfd entry{fd, 0, 0};
  return poll(&entry, 1, 0) > 0 && (entry.revents & POLLHUP) != 0;
}

// One accepted client: collects its message, hands it to the handler and
// answers, or drops it. Owns its descriptor; deletes itself when done.
class Connection : public QObject {
 public:
  Connection(int fd, QObject* parent, HandOverHandler handler, int timeoutMs, int& openCount)
      : QObject(parent), fd_(fd), handler_(std::move(handler)), openCount_(openCount) {
    ++openCount_;
    connect(&readable_, &QSocketNotifier::activated, this, [this] { OnReadable(); });
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { OnDeadline(); });
    timer_.start(timeoutMs);
  }
  ~Connection() override { --openCount_; }

 private:
  enum class State { Reading, Queued, Done };

  void OnReadable() {
    // The most a valid client sends, plus one byte that shows it sent more.
    constexpr std::size_t kLimit = kHandOverHeaderBytes + kMaxHandOverBytes + 1;
    char chunk[4096];
    bool closed = false;
    for (;;) {
      const ssize_t n = recv(fd_.Get(), chunk, sizeof chunk, 0);
      if (n > 0) {
        // Anything after the announced bytes makes the message a lie.
        if (state_ != State::Reading) return Drop();
        buffer_.append(chunk, static_cast<std::size_t>(n));
        if (buffer_.size() > kLimit) return Drop();
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
      closed = true;  // end of stream, or the connection failed
      break;
    }
    if (state_ == State::Reading) Parse();
    if (closed) {
      // A whole message is still handled: its sender may only have closed
      // its writing side and still wait for the answer.
      if (state_ == State::Reading) return Drop();
      readable_.setEnabled(false);  // the end of stream would be reported again and again
    }
  }

  // The deadline can come due in the same pass of the event loop as the last
  // bytes: a message that did arrive whole is still taken.
  void OnDeadline() {
    if (state_ == State::Reading) OnReadable();
    if (state_ == State::Reading) Drop();
  }

  void Parse() {
    const HandOverReading reading = ReadHandOverMessage(buffer_);
    if (reading == HandOverReading::Refused) return Drop();
    if (reading == HandOverReading::Incomplete) return;
    state_ = State::Queued;
    timer_.stop();
    // From the event loop, not from inside the notifier's signal: the
    // handler may run its own event loops or end the program.
    QMetaObject::invokeMethod(this, [this] { Deliver(); }, Qt::QueuedConnection);
  }

  void Deliver() {
    if (state_ != State::Queued) return;  // dropped after it was queued
    state_ = State::Done;
    readable_.setEnabled(false);
    const std::string bytes = buffer_.substr(kHandOverHeaderBytes);
    buffer_.clear();
    // A sender that closed its end gave up waiting and has told its user the
    // file was not taken: handling it now would open a file reported lost.
    if (PeerClosed(fd_.Get())) return Drop();
    QPointer<Connection> self(this);
    const HandOverHandler handler = handler_;  // survives this object's deletion during the call
    if (handler) handler(bytes);
    if (!self) return;
    // A failure here only means the sender gave up waiting.
    while (send(fd_.Get(), &kAnswerHandled, 1, MSG_NOSIGNAL) < 0 && errno == EINTR) {
    }
    deleteLater();
  }

  void Drop() {
    state_ = State::Done;
    readable_.setEnabled(false);
    timer_.stop();
    deleteLater();
  }

  FdCloser fd_;
  HandOverHandler handler_;
  int& openCount_;
  QSocketNotifier readable_{fd_.Get(), QSocketNotifier::Read};
  QTimer timer_;
  std::string buffer_;
  State state_ = State::Reading;
};

// Waits until fd is ready for events or the deadline passed. True when ready
// (an error or hang-up counts as ready: the next call on fd reports it).
bool WaitReady(int fd, short events, Clock::time_point deadline) {
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd entry{fd, events, 0};
    const int n = poll(&entry, 1, static_cast<int>(std::min<long long>(left, 1000)));
    if (n > 0) return true;
    if (n < 0 && errno != EINTR) return false;
  }
}

}  // namespace

HandOverReading ReadHandOverMessage(std::string_view received) {
  if (received.size() < kHandOverHeaderBytes) return HandOverReading::Incomplete;
  const std::uint64_t dwData = DecodeLittleEndian(received.data(), 8);
  const std::uint64_t cbData = DecodeLittleEndian(received.data() + 8, 4);
  if (dwData != 0 || cbData > kMaxHandOverBytes) return HandOverReading::Refused;
  const std::size_t total = kHandOverHeaderBytes + static_cast<std::size_t>(cbData);
  if (received.size() > total) return HandOverReading::Refused;
  return received.size() < total ? HandOverReading::Incomplete : HandOverReading::Whole;
}

std::string HandOverSocketPath(WindowHandle handle, const std::string& folder) {
  const std::string dir = folder.empty() ? PrivateRuntimeFolder() : folder;
  if (dir.empty()) return {};
  return dir + "/" + std::to_string(handle);
}

class HandOverServer::Impl {
 public:
  Impl(WindowHandle handle, HandOverHandler handler, const std::string& folder, int clientTimeoutMs)
      : handler_(std::move(handler)), clientTimeoutMs_(std::max(clientTimeoutMs, 1)) {
    if (handle == 0) return;
    path_ = HandOverSocketPath(handle, folder);
    sockaddr_un address{};
    if (path_.empty() || path_.size() >= sizeof address.sun_path) return;
    address.sun_family = AF_UNIX;
    path_.copy(address.sun_path, path_.size());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return;
    unlink(path_.c_str());  // left by a dead instance (see the header)
    struct stat info {};
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || listen(fd, SOMAXCONN) != 0 ||
        lstat(path_.c_str(), &info) != 0) {
      close(fd);
      return;
    }
    listenFd_ = fd;
    socketFile_ = {info.st_dev, info.st_ino};
    acceptor_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(acceptor_.get(), &QSocketNotifier::activated, &connections_, [this] { Accept(); });
  }

  ~Impl() {
    acceptor_.reset();
    if (listenFd_ < 0) return;
    // Only our own socket file goes, never one put there after it.
    struct stat info {};
    if (lstat(path_.c_str(), &info) == 0 && std::pair(info.st_dev, info.st_ino) == socketFile_) unlink(path_.c_str());
    close(listenFd_);
  }

  bool IsListening() const { return listenFd_ >= 0; }
  const std::string& Path() const { return path_; }

 private:
  void Accept() {
    for (;;) {
      const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
      if (fd < 0) {
        if (errno == EINTR || errno == ECONNABORTED) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
          // Out of descriptors: the waiting client would wake us at once
          // again; pause instead of spinning.
          acceptor_->setEnabled(false);
          QTimer::singleShot(100, &connections_, [this] { acceptor_->setEnabled(true); });
        }
        return;
      }
      if (openConnections_ >= kMaxOpenConnections) {
        close(fd);
        continue;
      }
      new Connection(fd, &connections_, handler_, clientTimeoutMs_, openConnections_);
    }
  }

  HandOverHandler handler_;
  int clientTimeoutMs_;
  std::string path_;
  int listenFd_ = -1;
  std::pair<dev_t, ino_t> socketFile_{};
  int openConnections_ = 0;
  QObject connections_;  // parent of the open connections; they go before the members above
  std::unique_ptr<QSocketNotifier> acceptor_;
};

HandOverServer::HandOverServer(WindowHandle handle, HandOverHandler handler, const std::string& folder,
                               int clientTimeoutMs)
    : impl_(std::make_unique<Impl>(handle, std::move(handler), folder, clientTimeoutMs)) {}

HandOverServer::~HandOverServer() = default;

bool HandOverServer::IsListening() const { return impl_->IsListening(); }

const std::string& HandOverServer::SocketPath() const { return impl_->Path(); }

bool SendHandOver(WindowHandle target, std::uint64_t dwData, const std::string& bytes, int timeoutMs,
                  const std::string& folder) {
  if (target == 0 || bytes.size() > kMaxHandOverBytes) return false;
  const std::string path = HandOverSocketPath(target, folder);
  sockaddr_un address{};
  if (path.empty() || path.size() >= sizeof address.sun_path) return false;
  address.sun_family = AF_UNIX;
  path.copy(address.sun_path, path.size());

  const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return false;
  FdCloser closer(fd);

  // A missing file or nobody listening fails at once; only a full backlog
  // (a busy but live receiver) is worth trying again until the deadline.
  while (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    if (errno == EINTR) continue;
    if (errno != EAGAIN || Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }

  const std::string message = EncodeMessage(dwData, bytes);
  std::size_t sent = 0;
  while (sent < message.size()) {
    const ssize_t n = send(fd, message.data() + sent, message.size() - sent, MSG_NOSIGNAL);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (!WaitReady(fd, POLLOUT, deadline)) return false;
    } else {
      return false;
    }
  }

  for (;;) {
    if (!WaitReady(fd, POLLIN, deadline)) return false;
    char answer = 0;
    const ssize_t n = recv(fd, &answer, 1, 0);
    if (n == 1) return answer == kAnswerHandled;
    if (n == 0) return false;  // dropped without an answer
    if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) return false;
  }
}

}  // namespace platform
