#include "platform/named_mutex.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "core_app.h"
#include "platform/hand_over.h"
#include "platform/runtime_folder.h"
#include "temp_dir.h"

using platform::HandOverServer;
using platform::NamedMutex;
using platform::SendHandOver;
using testsupport::PumpUntil;
using testsupport::TempDir;

namespace {

constexpr char kLockName[] = "912B7771-D12C-470B-A5C4-5FD45E3953C4_kinovue_mutex";
constexpr char kHelperVariable[] = "KINOVUE_PLATFORM_TEST_HELPER";
constexpr platform::WindowHandle kHandle = 4294967297;

// Started again with KINOVUE_PLATFORM_TEST_HELPER="lock <folder>" or "wait",
// the test program only takes the lock (or nothing), reports on one line and
// waits until its standard input ends or it is killed.
[[maybe_unused]] const bool kRanAsHelper = [] {
  const QString command = qEnvironmentVariable(kHelperVariable);
  if (command.isEmpty()) return false;
  std::unique_ptr<NamedMutex> lock;
  if (command.startsWith("lock ")) lock = std::make_unique<NamedMutex>(kLockName, command.mid(5).toStdString());
  std::puts(!lock ? "waiting" : lock->Acquired() ? "acquired" : lock->AlreadyRunning() ? "running" : "failed");
  std::fflush(stdout);
  while (std::getchar() != EOF) {
  }
  std::_Exit(0);
}();

// A helper process of the test program; killed (like a crash) when it goes.
class Helper {
 public:
  explicit Helper(const QString& command) {
    testsupport::CoreApp();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kHelperVariable, command);
    process_.setProcessEnvironment(environment);
    process_.start(QCoreApplication::applicationFilePath(), {});
  }
  ~Helper() { Kill(); }
  QString Report() {
    while (!process_.canReadLine()) {
      if (!process_.waitForReadyRead(5000)) return "no report";
    }
    return QString::fromUtf8(process_.readLine()).trimmed();
  }
  void Kill() {
    process_.kill();
    process_.waitForFinished(5000);
  }

 private:
  QProcess process_;
};

// A non-blocking Unix-domain socket that connects and writes what a test
// wants, or binds without ever accepting.
class RawSocket {
 public:
  RawSocket(const std::string& path, bool listening) : fd_(socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0)) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    const auto* where = reinterpret_cast<const sockaddr*>(&address);
    open_ = listening ? bind(fd_, where, sizeof address) == 0 && listen(fd_, 8) == 0
                      : connect(fd_, where, sizeof address) == 0;
  }
  RawSocket(RawSocket&& other) noexcept : fd_(std::exchange(other.fd_, -1)), open_(other.open_) {}
  ~RawSocket() {
    if (fd_ >= 0) close(fd_);
  }
  bool IsOpen() const { return open_; }
  RawSocket&& Write(const std::string& bytes) {
    EXPECT_EQ(send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size()));
    return std::move(*this);
  }
  // The server closed the connection without an answer within waitMs,
  // while this thread ran the server's loop.
  bool DroppedWithin(int waitMs) {
    char byte;
    return PumpUntil([&] { return recv(fd_, &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 0; }, waitMs);
  }

 private:
  int fd_;
  bool open_ = false;
};

// ---- private runtime folder

TEST(PrivateFolder, IsMadeForTheUserAloneAndOthersAreRefusedUntouched) {
  TempDir temp;
  const QString made = QString::fromStdString(temp.File("kinovue"));
  ASSERT_TRUE(platform::MakePrivateFolder(made.toStdString()));
  EXPECT_EQ(QFileInfo(made).permissions().toInt() & 0x77, 0);  // no group or other bits
  EXPECT_TRUE(platform::MakePrivateFolder(made.toStdString()));

  const QString open = QString::fromStdString(temp.File("open"));
  ASSERT_TRUE(QDir().mkdir(open));
  ASSERT_TRUE(QFile::setPermissions(open, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeGroup));
  std::string error;
  EXPECT_FALSE(platform::MakePrivateFolder(open.toStdString(), &error));
  EXPECT_NE(error.find("group or others"), std::string::npos) << error;
  EXPECT_TRUE(QFileInfo(open).permissions() & QFile::ExeGroup);  // not changed behind the user's back

  ASSERT_TRUE(QFile::link(made, QString::fromStdString(temp.File("link"))));
  EXPECT_FALSE(platform::MakePrivateFolder(temp.File("link")));
  ASSERT_TRUE(testsupport::WriteFileBytes(temp.File("file"), "x"));
  EXPECT_FALSE(platform::MakePrivateFolder(temp.File("file")));
  EXPECT_FALSE(platform::MakePrivateFolder("relative/kinovue"));
}

TEST(PrivateFolder, RuntimeFolderComesFromTheSessionAndFallsBackToTmp) {
  const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
  TempDir temp;
  qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(temp.Path() + "/"));
  EXPECT_EQ(platform::PrivateRuntimeFolder(), temp.Path() + "/kinovue");
  ASSERT_TRUE(QFile::setPermissions(QString::fromStdString(temp.Path() + "/kinovue"),
                                    QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeOther));
  const std::string fallback = platform::PrivateRuntimeFolder();
  EXPECT_EQ(fallback.rfind("/tmp/kinovue-", 0), 0u) << fallback;
  qputenv("XDG_RUNTIME_DIR", "run/user");  // relative: not used
  EXPECT_EQ(platform::PrivateRuntimeFolder(), fallback);
  if (saved.isNull()) qunsetenv("XDG_RUNTIME_DIR");
  if (!saved.isNull()) qputenv("XDG_RUNTIME_DIR", saved);
}

// ---- single-instance lock

TEST(NamedMutex, HeldByAnotherProcessUntilThatProcessDies) {
  TempDir temp;
  const QString command = "lock " + QString::fromStdString(temp.Path());
  Helper holder(command);
  ASSERT_EQ(holder.Report(), "acquired");
  {
    NamedMutex here(kLockName, temp.Path());
    EXPECT_TRUE(here.AlreadyRunning());
    EXPECT_FALSE(here.Acquired());
    EXPECT_TRUE(NamedMutex("another_mutex", temp.Path()).Acquired());  // names are independent
    Helper late(command);
    EXPECT_EQ(late.Report(), "running");
  }
  holder.Kill();  // no clean-up runs in the holder
  NamedMutex after(kLockName, temp.Path());
  EXPECT_TRUE(after.Acquired()) << after.ErrorText();
  EXPECT_TRUE(NamedMutex(kLockName, temp.Path()).AlreadyRunning());  // also within one process
}

TEST(NamedMutex, ChildProcessesDoNotInheritTheLock) {
  TempDir temp;
  auto lock = std::make_unique<NamedMutex>(kLockName, temp.Path());
  ASSERT_TRUE(lock->Acquired());
  Helper child("wait");  // any child started while the lock is held, as MPlayer is
  ASSERT_EQ(child.Report(), "waiting");
  lock.reset();
  EXPECT_TRUE(NamedMutex(kLockName, temp.Path()).Acquired()) << "a running child keeps the lock alive";
}

TEST(NamedMutex, FailsClearlyWithoutAFolderOrWithABadName) {
  TempDir temp;
  NamedMutex noFolder(kLockName, temp.File("missing"));
  EXPECT_TRUE(noFolder.Failed() && !noFolder.ErrorText().empty());
  for (const char* name : {"", ".", "..", "../escape"}) EXPECT_TRUE(NamedMutex(name, temp.Path()).Failed()) << name;
}

// ---- hand-over between instances

class HandOver : public ::testing::Test {
 protected:
  void SetUp() override { testsupport::CoreApp(); }

  // A server whose handler records what it got, slowly.
  std::unique_ptr<HandOverServer> Serve(int clientTimeoutMs = platform::kHandOverTimeoutMs) {
    return std::make_unique<HandOverServer>(kHandle, [this](const std::string& bytes) {
      last_ = bytes;
      handledOn_ = std::this_thread::get_id();
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      ++calls_;
    }, temp_.Path(), clientTimeoutMs);
  }
  // Sends from a worker thread while this thread runs the server's loop.
  bool SendFromWorker(std::uint64_t dwData, const std::string& bytes) {
    std::atomic<bool> done = false;
    bool result = false;
    std::thread sender([&] {
      result = SendHandOver(kHandle, dwData, bytes, 5000, temp_.Path());
      callsAtReturn_ = calls_.load();
      done = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return done.load(); }, 10000));
    sender.join();
    return result;
  }
  std::string SocketPath() const { return platform::HandOverSocketPath(kHandle, temp_.Path()); }
  RawSocket Client() { return RawSocket(SocketPath(), false); }
  static std::string Header(std::uint64_t dwData, std::uint32_t cbData) {
    std::string header;
    for (int i = 0; i < 8; ++i) header += static_cast<char>(dwData >> (8 * i));
    for (int i = 0; i < 4; ++i) header += static_cast<char>(cbData >> (8 * i));
    return header;
  }

  TempDir temp_;
  std::atomic<int> calls_ = 0;
  int callsAtReturn_ = 0;
  std::string last_;
  std::thread::id handledOn_;
};

TEST_F(HandOver, DeliversTheExactBytesOnTheServersThreadBeforeTheSenderReturns) {
  static const char kBytes[] = "/媒体/My Movie.avi\0tail";
  const std::string path(kBytes, sizeof kBytes - 1);
  const auto server = Serve();
  ASSERT_TRUE(server->IsListening());
  EXPECT_EQ(server->SocketPath(), temp_.File("4294967297"));
  EXPECT_TRUE(SendFromWorker(0, path));
  EXPECT_EQ(callsAtReturn_, 1);
  EXPECT_EQ(last_, path);
  EXPECT_EQ(handledOn_, std::this_thread::get_id());

  // Exactly the largest message passes; one byte more is refused.
  EXPECT_TRUE(SendFromWorker(0, std::string(platform::kMaxHandOverBytes, 'x')));
  EXPECT_EQ(last_.size(), platform::kMaxHandOverBytes);
  EXPECT_FALSE(SendFromWorker(0, std::string(platform::kMaxHandOverBytes + 1, 'x')));
}

TEST_F(HandOver, NobodyListeningFailsAtOnceAndTheNextServerTakesThePlace) {
  QElapsedTimer clock;
  clock.start();
  EXPECT_FALSE(SendHandOver(kHandle, 0, "x", 5000, temp_.Path()));  // no file
  EXPECT_FALSE(SendHandOver(0, 0, "x", 5000, temp_.Path()));        // "no window"
  { RawSocket dead(SocketPath(), true); }                             // a socket file nobody listens on
  ASSERT_TRUE(QFile::exists(QString::fromStdString(SocketPath())));
  EXPECT_FALSE(SendHandOver(kHandle, 0, "x", 5000, temp_.Path()));
  EXPECT_LT(clock.elapsed(), 1000);

  auto server = Serve();
  ASSERT_TRUE(server->IsListening());
  EXPECT_TRUE(SendFromWorker(0, std::string("/a.avi\0", 7)));
  server.reset();
  EXPECT_FALSE(QFile::exists(QString::fromStdString(SocketPath())));  // a server cleans up after itself
}

TEST_F(HandOver, BadMessagesAreDroppedAndTheServerKeepsWorking) {
  const auto server = Serve(300);
  EXPECT_FALSE(SendFromWorker(1, "wrong dwData"));
  // Dropped on sight, long before the client time-out.
  EXPECT_TRUE(Client().Write(Header(0, platform::kMaxHandOverBytes + 1)).DroppedWithin(250));
  EXPECT_TRUE(Client().Write("GET / HTTP/1.1\r\n\r\n").DroppedWithin(250));
  EXPECT_TRUE(Client().Write(Header(0, 3) + "abcd").DroppedWithin(250));  // more than announced
  // Stalled and silent clients go after the time-out.
  EXPECT_TRUE(Client().Write(Header(0, 5) + "ab").DroppedWithin(3000));
  EXPECT_TRUE(Client().DroppedWithin(3000));
  Client().Write(Header(0, 5) + "ab");  // gone before the rest came
  Client().Write(Header(0, 2) + "ab");  // whole, but its sender gave up at once: reported lost
  // A crowd of silent clients is turned away or timed out, not kept for ever.
  std::vector<RawSocket> crowd;
  for (int i = 0; i < 20; ++i) crowd.push_back(Client());
  PumpUntil([] { return false; }, 1000);
  EXPECT_EQ(calls_, 0);

  EXPECT_TRUE(SendFromWorker(0, std::string("/b.avi\0", 7)));
  EXPECT_EQ(last_, std::string("/b.avi\0", 7));
}

TEST_F(HandOver, SenderGivesUpOnAReceiverThatNeverAnswers) {
  const RawSocket mute(SocketPath(), true);  // never accepts
  ASSERT_TRUE(mute.IsOpen());
  QElapsedTimer clock;
  clock.start();
  EXPECT_FALSE(SendHandOver(kHandle, 0, "x", 300, temp_.Path()));
  EXPECT_GE(clock.elapsed(), 250);
  EXPECT_LT(clock.elapsed(), 2000);
}

}  // namespace
