#include <gtest/gtest.h>

#include "media/go_to_time.h"

namespace {

TEST(GoToTime, ShowsTwoDigitPartsJoinedWithColons) {
  EXPECT_EQ(FormatGoToTime(3725), "01:02:05");
  EXPECT_EQ(FormatGoToTime(0), "00:00:00");
  EXPECT_EQ(FormatGoToTime(100 * 3600 + 10 * 60 + 9), "100:10:09");
  EXPECT_EQ(FormatGoToTime(-5), "00:00:00");
}

TEST(GoToTime, ReadsEightCharactersAtFixedPlacesLikeAtoi) {
  EXPECT_EQ(ParseGoToTime("1:02:05", 4000), 0);  // 7 characters
  EXPECT_EQ(ParseGoToTime("001:02:05", 4000), 0);
  EXPECT_EQ(ParseGoToTime("01x02y05", 4000), 3725);    // separators are not checked
  EXPECT_EQ(ParseGoToTime("01：02：05", 4000), 3725);  // one character each
  EXPECT_EQ(ParseGoToTime(" 1:0b:5c", 4000), 3605);
  EXPECT_EQ(ParseGoToTime("ab:cd:ef", 4000), 0);
  for (int p : {0, 59, 3725, 359999}) EXPECT_EQ(ParseGoToTime(FormatGoToTime(p), p), p) << p;
}

TEST(GoToTime, TargetBeyondTheLengthOrNegativeIsZero) {
  EXPECT_EQ(ParseGoToTime("00:61:00", 3660), 3660);
  EXPECT_EQ(ParseGoToTime("00:61:00", 3659), 0);
  EXPECT_EQ(ParseGoToTime("-1:00:00", 4000), 0);
  EXPECT_EQ(ParseGoToTime("01:-9:30", 4000), 3090);  // a negative part, but the sum is a time
}

}  // namespace
