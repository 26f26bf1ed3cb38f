// Where media were left: the rules, the store file and what the window's
// memory of them decides.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include <map>

#include "core_app.h"
#include "history/play_position_memory.h"
#include "temp_dir.h"

namespace {

using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

constexpr platform::FileIdentity kFilm{1000, 42};

TEST(PlayPositionRules, WhatLeavingAMediumKeeps) {
  struct Row {
    int length, position;
    LeaveAction action;
  } rows[] = {
      {179, 60, LeaveAction::Keep},       // too short to remember
      {0, 60, LeaveAction::Keep},         // length unknown
      {180, 60, LeaveAction::Remember},   // three minutes is enough
      {180, 149, LeaveAction::Remember},  // 31 s before the end
      {180, 150, LeaveAction::Forget},    // within the last 30 s
      {7200, 7200, LeaveAction::Forget},  // played to the end
      {7200, 5, LeaveAction::Forget},     // it would start at the beginning anyway
      {7200, 6, LeaveAction::Remember},
  };
  for (const Row& r : rows)
    EXPECT_EQ(ActionOnLeaving(r.length, r.position), r.action) << r.length << " " << r.position;
  EXPECT_EQ(ResumeSecondsFor(100), 95);
  EXPECT_EQ(ResumeSecondsFor(5), 0);
}

class PlayPositionStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { testsupport::CoreApp(); }
  std::string File() const { return dir_.File(kPlayPositionsFileName); }
  PlayPositionStore Reloaded() const {
    PlayPositionStore store(File());
    store.Load();
    return store;
  }
  testsupport::TempDir dir_;
};

TEST_F(PlayPositionStoreTest, APositionHoldsOnlyForTheSameVersionOfTheFile) {
  PlayPositionStore store(File());
  ASSERT_TRUE(store.Remember({"/films/a b.avi", kFilm, 600}));
  ASSERT_TRUE(store.Remember({"/films/a b.avi", kFilm, 700}));  // replaces, never a second entry
  const PlayPositionStore loaded = Reloaded();
  EXPECT_EQ(loaded.Count(), 1u);
  EXPECT_EQ(loaded.Find("/films/a b.avi", kFilm), 700);
  EXPECT_EQ(loaded.Find("/films/a b.avi", {1001, 42}), std::nullopt) << "the file grew";
  EXPECT_EQ(loaded.Find("/films/a b.avi", {1000, 43}), std::nullopt) << "the file was rewritten";
  EXPECT_EQ(loaded.Find("/films/other.avi", kFilm), std::nullopt);
  // What cannot be stored is not: it would break the file's lines.
  EXPECT_FALSE(store.Remember({"/films/two\nlines.avi", kFilm, 600}));
  EXPECT_FALSE(store.Remember({"relative.avi", kFilm, 600}));
  EXPECT_TRUE(store.Forget("/films/a b.avi"));
  EXPECT_EQ(Reloaded().Count(), 0u);
}

TEST_F(PlayPositionStoreTest, KeepsTheNewestThousand) {
  // A full store, newest first: /m/999 down to /m/0 (and one line too many).
  std::string text;
  for (int i = 1000; i >= 0; --i) text += std::to_string(i + 10) + " 1000 42 /m/" + std::to_string(i) + "\n";
  ASSERT_TRUE(WriteFileBytes(File(), text));
  PlayPositionStore store = Reloaded();
  EXPECT_EQ(store.Count(), PlayPositionStore::kCapacity);
  EXPECT_EQ(store.Find("/m/0", kFilm), std::nullopt) << "read beyond the capacity";
  store.Remember({"/m/1", kFilm, 99});  // the oldest, used again: now the newest
  store.Remember({"/m/1001", kFilm, 5000});
  store.Remember({"/m/1002", kFilm, 5000});
  const PlayPositionStore loaded = Reloaded();
  EXPECT_EQ(loaded.Count(), PlayPositionStore::kCapacity);
  EXPECT_EQ(loaded.Find("/m/1", kFilm), 99);
  EXPECT_EQ(loaded.Find("/m/2", kFilm), std::nullopt);  // the oldest ones went
  EXPECT_EQ(loaded.Find("/m/3", kFilm), std::nullopt);
  EXPECT_EQ(loaded.Find("/m/4", kFilm), 14);
  EXPECT_EQ(loaded.Find("/m/1002", kFilm), 5000);
}

TEST_F(PlayPositionStoreTest, ADamagedFileGivesWhatItCanAndNeverFails) {
  const std::string good = "600 1000 42 /films/good.avi\n";
  struct Row {
    const char* name;
    std::string bytes;
    std::size_t count;
  } rows[] = {
      {"binary", std::string("\0\xff\x01 7 8\n\xfe", 10), 0},
      {"bad lines around a good one", "x\n-5 1 1 /a\n10 1 1 relative\n10 1 /no-time\n" + good + "12 1 1 \n", 1},
      {"CR LF and no final line end", "# c\r\n600 1000 42 /films/good.avi", 1},
      {"the newer of two lines for a path", good + "700 1000 42 /films/good.avi\n", 1},
      {"numbers beyond their range", "99999999999 1 1 /a\n", 0},
      {"over the size cap", good + std::string(PlayPositionStore::kMaxFileBytes, '#'), 0},
  };
  for (const Row& r : rows) {
    ASSERT_TRUE(WriteFileBytes(File(), r.bytes));
    const PlayPositionStore loaded = Reloaded();
    EXPECT_EQ(loaded.Count(), r.count) << r.name;
    if (r.count) {
      EXPECT_EQ(loaded.Find("/films/good.avi", kFilm), 600) << r.name;
    }
  }
  std::remove(File().c_str());
  ASSERT_EQ(mkdir(File().c_str(), 0700), 0);
  EXPECT_EQ(Reloaded().Count(), 0u) << "a folder in its place";
}

TEST_F(PlayPositionStoreTest, AFailedWriteLeavesTheFileAsItWas) {
  PlayPositionStore store(File());
  ASSERT_TRUE(store.Remember({"/films/a.avi", kFilm, 600}));
  const std::string before = ReadFileBytes(File());
  // A full disk, as far as this process is concerned (it binds root too).
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const rlimit full{10, old.rlim_max};
  signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
  const bool remembered = store.Remember({"/films/b.avi", kFilm, 300});
  const bool forgotten = store.Forget("/films/a.avi");
  setrlimit(RLIMIT_FSIZE, &old);
  EXPECT_FALSE(remembered);
  EXPECT_FALSE(forgotten);
  EXPECT_EQ(ReadFileBytes(File()), before);
}

// The memory over a store, with file versions the test makes up.
class PlayPositionMemoryTest : public PlayPositionStoreTest {
 protected:
  PlayPositionMemory Memory() {
    return PlayPositionMemory(File(), [this](const std::string& path) -> std::optional<platform::FileIdentity> {
      const auto it = files_.find(path);
      if (it == files_.end()) return std::nullopt;
      return it->second;
    });
  }
  // Opens, plays to `position` of a medium of `length` and leaves it.
  void Play(PlayPositionMemory& memory, const std::string& path, int length, int position) {
    memory.Opening(path, true);
    memory.LengthKnown(length, 0);
    memory.PositionMoved(position);
    memory.Left();
  }
  std::map<std::string, platform::FileIdentity> files_{{"/films/a.avi", kFilm}};
};

TEST_F(PlayPositionMemoryTest, WhatLeavingKeepsAndWhatItForgets) {
  PlayPositionMemory memory = Memory();
  Play(memory, "/films/a.avi", 3600, 1200);
  EXPECT_EQ(memory.Opening("/films/a.avi", false), 0) << "a disc's file";
  EXPECT_EQ(memory.Opening("http://host/films/a.avi", true), 0);
  // Opened and left again before playback said where it was: kept as stored.
  EXPECT_EQ(memory.Opening("/films/a.avi", true), 1195);
  memory.LengthKnown(3600, 1195);
  memory.Left();
  memory.Left();
  EXPECT_EQ(memory.Store().Find("/films/a.avi", kFilm), 1200);
  // Restarted after a setting changed, then stopped further on.
  memory.PlayingAgain();
  memory.PositionMoved(1300);
  memory.Left();
  EXPECT_EQ(memory.Store().Find("/films/a.avi", kFilm), 1300);
  // Played to the end: forgotten.
  Play(memory, "/films/a.avi", 3600, 3599);
  EXPECT_EQ(memory.Store().Find("/films/a.avi", kFilm), std::nullopt);
}

}  // namespace
