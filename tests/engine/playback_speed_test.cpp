#include "engine/playback_speed.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(PlaybackSpeed, StepsTextsAndRates) {
  struct Row {
    int speed, slower, faster;
    const char* text;
  } rows[] = {
      {50, 50, 75, "0.5"},    {75, 50, 100, "0.75"},   {100, 75, 125, "1"},
      {125, 100, 150, "1.25"}, {150, 125, 200, "1.5"}, {200, 150, 200, "2"},
      {110, 100, 125, "1.1"},  // a rate set from outside lies between steps
      {105, 100, 125, "1.05"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(SlowerSpeed(r.speed), r.slower) << r.speed;
    EXPECT_EQ(FasterSpeed(r.speed), r.faster) << r.speed;
    EXPECT_EQ(SpeedText(r.speed), r.text) << r.speed;
  }
  struct Rate {
    double rate;
    std::optional<int> speed;
  } rates[] = {{1.0, 100}, {0.5, 50}, {2.0, 200}, {1.333, 133}, {0.49, std::nullopt}, {2.01, std::nullopt},
               {NAN, std::nullopt}, {INFINITY, std::nullopt}, {-1.0, std::nullopt}};
  for (const Rate& r : rates) EXPECT_EQ(SpeedOfRate(r.rate), r.speed) << r.rate;
}

}  // namespace
