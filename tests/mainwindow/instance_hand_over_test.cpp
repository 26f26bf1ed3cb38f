#include "mainwindow/instance_hand_over.h"
#include "mainwindow/single_instance.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLocalSocket>
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

#include "core_app.h"
#include "platform/hand_over.h"
#include "temp_dir.h"

namespace {

using testsupport::PumpUntil;

constexpr platform::WindowHandle kRunning = 0x5A00007;

class InstanceHandOver : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::CoreApp();
    settings_.SetPath(temp_.File("kinovue.ini"));
    instance::WriteRunningHandle(settings_, kRunning);
  }

  // Whether a second instance with these paths saw them handled, while this
  // thread runs the running instance's loop.
  instance::HandOverOutcome SecondInstance(const std::vector<std::string>& paths, int timeoutMs = 5000) {
    std::atomic<bool> done = false;
    auto outcome = instance::HandOverOutcome::Nothing;
    std::thread second([&] {
      outcome = instance::HandOverToRunningInstance(paths, settings_, temp_.Path(), timeoutMs);
      done = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return done.load(); }, 10000));
    second.join();
    return outcome;
  }
  std::unique_ptr<platform::HandOverServer> Serve() {
    return std::make_unique<platform::HandOverServer>(kRunning, [this](const std::string& bytes) {
      for (const std::string& path : instance::HandedOverPaths(bytes)) opened_.push_back(path);
    }, temp_.Path());
  }

  testsupport::TempDir temp_;
  IniFile settings_;
  std::vector<std::string> opened_;
};

using Outcome = instance::HandOverOutcome;

TEST_F(InstanceHandOver, TheRunningWindowGetsThePathsInOrder) {
  const auto server = Serve();
  ASSERT_TRUE(server->IsListening());
  const std::string longest = "/" + std::string(instance::kMaxHandOverPath - 1, 'x');
  // A selection bigger than a message holds: the paths that fit go, in order.
  std::vector<std::string> many;
  for (std::size_t i = 0; i < platform::kMaxHandOverBytes / 64 + 10; ++i)
    many.push_back("/m/" + std::string(50, 'c') + std::to_string(100000 + i) + ".avi");
  const std::vector<std::string> fitting(many.begin(), many.begin() + platform::kMaxHandOverBytes / 64);
  const struct {
    std::vector<std::string> paths;
    Outcome outcome;
    std::vector<std::string> opened;
  } rows[] = {
      {{"/m/My Movie.avi"}, Outcome::Delivered, {"/m/My Movie.avi"}},
      {{"/m/b.avi", "http://host/a.avi", "/m/c d.avi"}, Outcome::Delivered, {"/m/b.avi", "http://host/a.avi", "/m/c d.avi"}},
      {{longest}, Outcome::Delivered, {longest}},
      {{longest + "y"}, Outcome::NotDelivered, {}},  // longer than a path can be: never stored
      {{"/m/a.avi", longest + "y", "/m/b.avi"}, Outcome::Delivered, {"/m/a.avi", "/m/b.avi"}},
      {many, Outcome::Delivered, fitting},
      {{}, Outcome::Nothing, {}},
      {{""}, Outcome::Nothing, {}},
  };
  for (const auto& row : rows) {
    opened_.clear();
    const std::string shown = row.paths.empty() ? "(none)" : row.paths.front().substr(0, 40);
    EXPECT_EQ(SecondInstance(row.paths), row.outcome) << shown;
    EXPECT_EQ(opened_, row.opened) << shown;
  }
}

TEST_F(InstanceHandOver, NoOrAGoneRunningWindowIsReportedAfterABoundedWait) {
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(SecondInstance({"/m/a.avi"}, 300), Outcome::NotDelivered);  // stored handle, nobody listening
  instance::WriteRunningHandle(settings_, 0);
  EXPECT_EQ(SecondInstance({"/m/a.avi"}, 300), Outcome::NotDelivered);
  EXPECT_LT(clock.elapsed(), 3000);
}

TEST_F(InstanceHandOver, ABurstBesideIdleClientsIsDeliveredWholeAndOnce) {
  const auto server = Serve();
  // Idle connections of the same user, more than any fixed small limit.
  std::vector<std::unique_ptr<QLocalSocket>> idle;
  for (int i = 0; i < 20; ++i) {
    idle.push_back(std::make_unique<QLocalSocket>());
    idle.back()->connectToServer(QString::fromStdString(server->SocketPath()));
    ASSERT_TRUE(idle.back()->waitForConnected(1000));
  }
  constexpr int kSenders = 50;
  std::atomic<bool> go = false;
  std::atomic<int> finished = 0;
  std::vector<Outcome> outcomes(kSenders, Outcome::Nothing);
  std::vector<std::thread> senders;
  for (int i = 0; i < kSenders; ++i) {
    senders.emplace_back([&, i] {
      while (!go) std::this_thread::yield();
      outcomes[i] = instance::HandOverToRunningInstance({"/m/clip" + std::to_string(i)}, settings_, temp_.Path());
      ++finished;
    });
  }
  go = true;
  EXPECT_TRUE(PumpUntil([&] { return finished == kSenders; }, 20000));
  for (auto& sender : senders) sender.join();
  std::vector<std::string> delivered;
  for (int i = 0; i < kSenders; ++i)
    if (outcomes[i] == Outcome::Delivered) delivered.push_back("/m/clip" + std::to_string(i));
  EXPECT_EQ(delivered.size(), static_cast<std::size_t>(kSenders));
  std::sort(opened_.begin(), opened_.end());
  std::sort(delivered.begin(), delivered.end());
  EXPECT_EQ(opened_, delivered);  // every one answered was handled, none twice
}

TEST_F(InstanceHandOver, TheFirstInstanceTakesTheFilesOfTheLaterOnes) {
  SingleInstance first(settings_, temp_.Path());
  instance::WriteRunningHandle(settings_, 0);
  ASSERT_TRUE(first.Claim(kRunning, {}, [this](const auto& paths) { opened_.insert(opened_.end(), paths.begin(), paths.end()); }));
  EXPECT_EQ(instance::ReadRunningHandle(settings_), kRunning);
  const std::string tooLong = "/" + std::string(instance::kMaxHandOverPath, 'x');
  const struct {
    std::vector<std::string> paths;
    int exitCode;
    std::vector<std::string> opened;
  } rows[] = {
      {{"/m/a b.avi"}, 0, {"/m/a b.avi"}},
      {{}, 0, {}},                                                  // nothing to hand over
      {{tooLong}, 1, {}},                                            // not taken: said so in the exit status
      {{"/m/a.avi", tooLong, "/m/b.avi"}, 1, {"/m/a.avi", "/m/b.avi"}},  // one of them lost: said so too
  };
  for (const auto& row : rows) {
    opened_.clear();
    SingleInstance later(settings_, temp_.Path());
    std::atomic<bool> claimed = true;
    std::atomic<bool> done = false;
    std::thread second([&] {
      claimed = later.Claim(kRunning + 1, row.paths, [](const auto&) {});
      done = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return done.load(); }, 10000));
    second.join();
    EXPECT_FALSE(claimed) << row.paths.size();
    EXPECT_EQ(later.ExitCode(), row.exitCode) << row.paths.size();
    EXPECT_EQ(opened_, row.opened) << row.paths.size();
    EXPECT_EQ(instance::ReadRunningHandle(settings_), kRunning);
  }
}

// A file given while the running instance closes is not handed to it (it
// would never be opened): the new instance waits for the end of the old one
// and runs in its place.
TEST_F(InstanceHandOver, ALaterInstanceRunsInThePlaceOfOneThatIsClosing) {
  auto closing = std::make_unique<SingleInstance>(settings_, temp_.Path());
  ASSERT_TRUE(closing->Claim(kRunning, {}, [this](const auto& paths) { opened_.insert(opened_.end(), paths.begin(), paths.end()); }));
  closing->StopTakingFiles();
  SingleInstance later(settings_, temp_.Path());
  std::atomic<bool> claimed = false;
  std::atomic<bool> done = false;
  std::thread second([&] {
    claimed = later.Claim(kRunning + 1, {"/m/a.avi"}, [](const auto&) {});
    done = true;
  });
  PumpUntil([&] { return done.load(); }, 300);
  EXPECT_FALSE(done) << "gave up while the old instance was still closing";
  closing.reset();  // its process ends: the lock goes
  EXPECT_TRUE(PumpUntil([&] { return done.load(); }, 4000));
  second.join();
  EXPECT_TRUE(claimed);
  EXPECT_EQ(later.ExitCode(), 0);
  EXPECT_TRUE(opened_.empty()) << "the closing instance took a file it would not open";
  EXPECT_EQ(instance::ReadRunningHandle(settings_), kRunning + 1);
}

TEST_F(InstanceHandOver, RunningHandleIsAPlainDecimalOfAll64Bits) {
  ASSERT_TRUE(instance::WriteRunningHandle(settings_, 18446744073709551615u));
  EXPECT_EQ(instance::ReadRunningHandle(settings_), 18446744073709551615u);
  for (const char* bad : {"18446744073709551616", "-5", "12abc", "0x10"}) {
    settings_.WriteString("kinovue", "RunningHandle", bad);
    EXPECT_EQ(instance::ReadRunningHandle(settings_), 0u) << bad;
  }
}

TEST(HandedOverPaths, AreThePiecesBetweenZeroBytes) {
  using Paths = std::vector<std::string>;
  const std::string tooLong(instance::kMaxHandOverPath + 1, 'x');
  const std::pair<std::string, Paths> rows[] = {
      {std::string("/m/a\0", 5), {"/m/a"}},  // what one path always was
      {std::string("/m/a\0/m/b c\0", 11), {"/m/a", "/m/b c"}},
      {"/m/no-zero", {"/m/no-zero"}},
      {std::string("\0", 1), {}},  // cbData 1 carries no path
      {std::string("\0\0/m/a\0\0", 8), {"/m/a"}},
      {tooLong, {}},
      {"/m/a" + std::string(1, '\0') + tooLong + std::string(1, '\0') + "/m/b", {"/m/a", "/m/b"}},
  };
  for (const auto& [bytes, paths] : rows) EXPECT_EQ(instance::HandedOverPaths(bytes), paths) << bytes.substr(0, 20);
}

}  // namespace
