// A clip with a Chinese subtitle beside it, started again and again as a
// user starts it: the subtitle must show in every start, with every
// post-processing and aspect setting, and stay after the window changes size.
#include <gtest/gtest.h>

#include <iostream>

#include "picture_session.h"
#include "test_media.h"

namespace {

// "中文字幕測試" in GBK, due for the whole clip.
const std::string kSubtitle = "1\r\n00:00:00,000 --> 00:01:00,000\r\n\xd6\xd0\xce\xc4\xd7\xd6\xc4\xbb\x9c\x79\xd4\x87\r\n\r\n";
// Six characters at the design's text scale light about 1,100 pixels of a
// 640-pixel-wide picture; a missing subtitle lights none.
constexpr int kTextPixels = 300;

TEST(SubtitleStarts, TheSubtitleShowsInEveryStartAndAfterFullScreen) {
  const std::string clip = testsupport::MadeClip(
      "dark640.avi", {"-f", "lavfi", "-i", "color=c=0x203060:size=640x480:rate=25:duration=60", "-c:v", "mpeg4",
                      "-q:v", "4"});
  ASSERT_FALSE(clip.empty()) << "ffmpeg could not make the clip";
  const struct {
    const char* settings;
    int starts;
  } rows[] = {
      {"", 20},  // the defaults: Postproc=1, automatic aspect
      {"Postproc=0\n", 2},
      {"Postproc=2\n", 2},
      {"Aspect=4\n", 2},
      {"Deinterlace=2\n", 2},
  };
  int missed = 0;
  for (const auto& row : rows) {
    for (int start = 0; start < row.starts; ++start) {
      SCOPED_TRACE(::testing::Message() << "settings '" << row.settings << "', start " << start + 1);
      picturetest::PictureSession s(1280, 1024);
      ASSERT_TRUE(s.Start(clip, kSubtitle, row.settings)) << s.Problem();
      const int shown = s.TextPixelsInBand(kTextPixels, 8000);
      EXPECT_GE(shown, kTextPixels) << "no subtitle";
      missed += shown < kTextPixels;
      if (start > 0) continue;
      // A change of the window's size under the shown subtitle.
      s.Key("ctrl+f");
      EXPECT_GE(s.TextPixelsInBand(kTextPixels * 2, 8000), kTextPixels * 2) << "no subtitle in full screen";
      s.Key("Escape");
      EXPECT_GE(s.TextPixelsInBand(kTextPixels, 8000), kTextPixels) << "no subtitle back in the window";
    }
  }
  std::cout << "[ starts   ] the subtitle was missing in " << missed << " starts\n";
}

}  // namespace
