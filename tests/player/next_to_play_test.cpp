#include "player/next_to_play.h"

#include <gtest/gtest.h>

namespace {

// The play modes as a fresh settings file has them: automatic play from the
// list, in order, looping.
constexpr PlayModes kFirstStart{false, true, true, false, true, true};

PlayModes With(void (*change)(PlayModes&)) {
  PlayModes modes = kFirstStart;
  change(modes);
  return modes;
}

TEST(NextToPlay, FirstRuleThatAppliesDecides) {
  using S = NextSource;
  constexpr PlayListWalk kNextInOrder{true, false, false, true, true};
  constexpr PlayListWalk kPreviousInOrder{true, false, false, true, false};
  const PlayModes repeat = With([](PlayModes& m) { m.repeatCurrent = true; });
  const PlayModes randomBackNoLoop = With([](PlayModes& m) { m.random = true; m.forward = false; m.loop = false; });
  const PlayModes manual = With([](PlayModes& m) { m.autoPlayFromList = false; });
  const PlayModes notFromList = With([](PlayModes& m) { m.playFromList = false; });
  const struct {
    const char* why;
    NextToPlayInputs in;
    NextToPlayAction expected;
  } rows[] = {
      // stop, closing, disc, pending, next, previous, playlist, modes
      {"a stop outranks everything", {true, false, true, true, true, false, true, repeat}, {S::StopHere, {}}},
      {"closing plays nothing", {false, true, true, true, false, false, true, kFirstStart}, {S::StopHere, {}}},
      {"disc files before the user's file", {false, false, true, true, true, false, true, repeat}, {S::DiscQueue, {}}},
      {"the user's file before repeat", {false, false, false, true, false, false, true, repeat}, {S::PendingPath, {}}},
      {"repeat plays the file again", {false, false, false, false, false, false, true, repeat}, {S::CurrentFile, {}}},
      {"Next walks forward in order and wraps", {false, false, false, false, true, false, true, randomBackNoLoop},
       {S::PlayList, kNextInOrder}},
      {"Previous leaves repeat and walks back", {false, false, false, false, false, true, true, repeat},
       {S::PlayList, kPreviousInOrder}},
      {"automatic play follows the modes", {false, false, false, false, false, false, true, randomBackNoLoop},
       {S::PlayList, {true, true, false, false, false}}},
      {"the list's own flag is passed on", {false, false, false, false, false, false, true, notFromList},
       {S::PlayList, {false, false, false, true, true}}},
      {"without automatic play the run just ends", {false, false, false, false, false, false, true, manual},
       {S::Nothing, {}}},
      {"Next still asks the list without automatic play", {false, false, false, false, true, false, true, manual},
       {S::PlayList, kNextInOrder}},
      {"no playlist, nothing to ask", {false, false, false, false, true, false, false, kFirstStart}, {S::Nothing, {}}},
  };
  for (const auto& row : rows) {
    const NextToPlayAction got = NextToPlay(row.in);
    EXPECT_EQ(got.source, row.expected.source) << row.why;
    EXPECT_EQ(got.walk, row.expected.walk) << row.why;
  }
}

}  // namespace
