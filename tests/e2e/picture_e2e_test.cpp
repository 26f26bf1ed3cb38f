// The picture as a user sees it: the built program on a private X server of
// a user's screen size, with the real MPlayer, read back from the screen.
#include "picture_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>

#include "test_media.h"

namespace {

using picturetest::Box;
using picturetest::PictureSession;

// A clip with a white square in the middle of its picture as it is meant to
// be shown (displayWidth x displayHeight); stored at storageWidth with
// pixels of the proportion that gives, when that differs.
std::string SquareClip(int displayWidth, int displayHeight, int storageWidth = 0, const char* pixelAspect = "1/1") {
  const int side = displayHeight / 3;
  const int stored = storageWidth ? storageWidth : displayWidth;
  const std::string graph = "color=c=0x203060:size=" + std::to_string(displayWidth) + "x" +
                            std::to_string(displayHeight) + ":rate=25:duration=40,drawbox=x=" +
                            std::to_string((displayWidth - side) / 2) + ":y=" +
                            std::to_string((displayHeight - side) / 2) + ":w=" + std::to_string(side) +
                            ":h=" + std::to_string(side) + ":color=white:t=fill,scale=" + std::to_string(stored) +
                            ":" + std::to_string(displayHeight) + ",setsar=" + pixelAspect;
  const std::string name = "square" + std::to_string(displayWidth) + "x" + std::to_string(displayHeight) + "s" +
                           std::to_string(stored) + ".avi";
  return testsupport::MadeClip(name, {"-f", "lavfi", "-i", graph, "-c:v", "mpeg4", "-q:v", "4"});
}

// The square must be square and in the middle of the picture window (which
// it is only when the picture fills that window).
void ExpectSquare(const Box& square, const Box& window, const std::string& when) {
  SCOPED_TRACE(when);
  ASSERT_GT(square.width, 0) << "no square on the screen";
  const double ratio = static_cast<double>(square.width) / square.height;
  EXPECT_NEAR(ratio, 1.0, 0.04) << square.width << "x" << square.height;
  const double centreX = square.x + square.width / 2.0 - window.x;
  const double centreY = square.y + square.height / 2.0 - window.y;
  EXPECT_NEAR(centreX / window.width, 0.5, 0.03) << "picture window " << window.width << "x" << window.height;
  EXPECT_NEAR(centreY / window.height, 0.5, 0.03) << "picture window " << window.width << "x" << window.height;
}

TEST(PictureOnScreen, TheSquareStaysSquareOnEveryScreenInEveryWindowMode) {
  const struct {
    const char* what;
    int screenWidth, screenHeight;
    std::string clip;
    const char* scale;
  } rows[] = {
      {"16:9 screen, 16:9 clip", 1920, 1080, SquareClip(640, 360), "1"},
      {"16:10 screen, 2.39:1 clip", 1920, 1200, SquareClip(764, 320), "1"},
      {"5:4 screen, non-square pixels (720x576 shown 1024x576)", 1280, 1024, SquareClip(1024, 576, 720, "64/45"),
       "1"},
      {"4:3 screen, 4:3 clip", 1024, 768, SquareClip(640, 480), "1"},
      {"16:9 screen, Qt scaled 2x", 1920, 1080, SquareClip(640, 480), "2"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    ASSERT_FALSE(row.clip.empty()) << "ffmpeg could not make the clip";
    PictureSession s(row.screenWidth, row.screenHeight, row.scale);
    ASSERT_TRUE(s.Start(row.clip, "")) << s.Problem();

    Box window;
    const Box native = s.SettledSquare(&window);
    ExpectSquare(native, window, "native size");

    s.Key("ctrl+t");
    const Box doubled = s.SettledSquare(&window, [&](const Box& w) { return w.height > native.height * 3 / 2 ||
                                                                             w.height >= row.screenHeight * 2 / 3; });
    ExpectSquare(doubled, window, "double size");

    s.Key("ctrl+f");
    const Box full = s.SettledSquare(&window, [&](const Box& w) {
      return w.width == row.screenWidth || w.height == row.screenHeight;
    });
    ExpectSquare(full, window, "full screen");
    // The automatic aspect pads to the screen's proportions, so the picture
    // takes the whole screen, but for the engine's padding to a multiple of
    // 16 pixels (at most 15 of 360 lines or more, under 4.2 %).
    EXPECT_GE(std::max(static_cast<double>(window.width) / row.screenWidth,
                       static_cast<double>(window.height) / row.screenHeight), 1.0);
    EXPECT_GE(std::min(static_cast<double>(window.width) / row.screenWidth,
                       static_cast<double>(window.height) / row.screenHeight), 0.958);

    s.Key("Escape");
    const Box back = s.SettledSquare(&window, [&](const Box& w) { return w.height < row.screenHeight; });
    ExpectSquare(back, window, "back from full screen");
    std::cout << "[ square   ] " << row.what << ": " << native.width << "x" << native.height << ", "
              << doubled.width << "x" << doubled.height << ", " << full.width << "x" << full.height << "\n";
  }
}

}  // namespace
