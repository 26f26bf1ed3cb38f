#include "controls/anchor_geometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <optional>

namespace {

const AnchorRect k301x120{0, 0, 301, 120};

TEST(AnchorEdgeCoordinate, PixelsFromTheOriginOrBackFromTheFarEdge) {
  EXPECT_EQ(AnchorEdgeCoordinate(0, false, 17, k301x120, AnchorAxis::Horizontal), 17);
  EXPECT_EQ(AnchorEdgeCoordinate(1, false, 17, k301x120, AnchorAxis::Horizontal), 284);
  EXPECT_EQ(AnchorEdgeCoordinate(1, false, 17, k301x120, AnchorAxis::Vertical), 103);
  // A right rule from the far edge with value 0 reaches the edge exactly.
  EXPECT_EQ(AnchorEdgeCoordinate(1, false, 0, k301x120, AnchorAxis::Horizontal), 301);
  // Only 1 means "far"; other values measure from the origin.
  EXPECT_EQ(AnchorEdgeCoordinate(2, false, 17, k301x120, AnchorAxis::Horizontal), 17);
  EXPECT_EQ(AnchorEdgeCoordinate(-1, false, 17, k301x120, AnchorAxis::Vertical), 17);
}

TEST(AnchorEdgeCoordinate, PercentagesOfTheSpanTruncateTowardZero) {
  EXPECT_EQ(AnchorEdgeCoordinate(0, true, 50, k301x120, AnchorAxis::Horizontal), 150);
  EXPECT_EQ(AnchorEdgeCoordinate(1, true, 50, k301x120, AnchorAxis::Horizontal), 151);
  EXPECT_EQ(AnchorEdgeCoordinate(0, true, -50, k301x120, AnchorAxis::Horizontal), -150);
  // Top and bottom rules take the height.
  EXPECT_EQ(AnchorEdgeCoordinate(0, true, 33, k301x120, AnchorAxis::Vertical), 39);
  // No overflow for a large percentage of a large span.
  const AnchorRect huge{0, 0, 1 << 20, 10};
  EXPECT_EQ(AnchorEdgeCoordinate(0, true, 10000, huge, AnchorAxis::Horizontal), 100 << 20);
}

TEST(AnchorEdgeCoordinate, FarEdgeOfAReferenceSizedFrame) {
  // A 200 x 100 reference lends its size: the bottom is 100 - value.
  const AnchorRect reference{0, 0, 200, 100};
  EXPECT_EQ(AnchorEdgeCoordinate(1, false, 30, reference, AnchorAxis::Vertical), 70);
  EXPECT_EQ(AnchorEdgeCoordinate(1, true, 25, reference, AnchorAxis::Horizontal), 150);
}

TEST(ZoomedLength, TruncatesTheProduct) {
  EXPECT_EQ(ZoomedLength(321, 1.5f), 481);
  EXPECT_EQ(ZoomedLength(640, 2.0f), 1280);
  EXPECT_EQ(ZoomedLength(333, 0.5f), 166);
  EXPECT_EQ(ZoomedLength(0, 2.0f), 0);
  EXPECT_EQ(ZoomedLength(1 << 30, 1e10f), std::numeric_limits<int>::max());
}

TEST(CentredVideoRect, CentresTheZoomedPictureOrFillsWhileTheSizeIsUnknown) {
  EXPECT_EQ(CentredVideoRect(640, 480, 320, 240, 1.0f), (AnchorRect{160, 120, 480, 360}));
  EXPECT_EQ(CentredVideoRect(641, 481, 320, 240, 1.0f), (AnchorRect{160, 120, 480, 360}));
  EXPECT_EQ(CentredVideoRect(640, 480, 320, 240, 2.0f), (AnchorRect{0, 0, 640, 480}));
  // Larger than the container: the halves truncate toward zero (-10, not -11).
  EXPECT_EQ(CentredVideoRect(300, 200, 321, 200, 1.0f), (AnchorRect{-10, 0, 311, 200}));
  EXPECT_EQ(CentredVideoRect(640, 480, 0, 240, 1.0f), (AnchorRect{0, 0, 640, 480}));
  EXPECT_EQ(CentredVideoRect(640, 480, 320, 0, 3.0f), (AnchorRect{0, 0, 640, 480}));
}

class ZoomedMainWindowRectTest : public ::testing::Test {
 protected:
  // A 500 x 400 window at (100, 50); the video and its container fill
  // 480 x 300 of it; the client area starts 4 pixels in.
  ZoomWindowInput Input() const {
    ZoomWindowInput in;
    in.mainWindow = {100, 50, 600, 450};
    in.video = {110, 80, 590, 380};
    in.container = {110, 80, 590, 380};
    in.clientOriginX = 104;
    in.targetWidth = 480;
    in.targetHeight = 300;
    in.minWidth = 200;
    in.minHeight = 150;
    return in;
  }
};

TEST_F(ZoomedMainWindowRectTest, SizesTheWindowForTheVideoAroundItsOldCentre) {
  const AnchorRect window = Input().mainWindow, container = Input().container;
  const struct {
    const char* what;
    AnchorRect mainWindow, container;
    int targetWidth, targetHeight, minWidth, minHeight;
    std::optional<AnchorRect> expected;
  } rows[] = {
      {"the video fits its container already", window, container, 480, 300, 200, 150, std::nullopt},
      // The video is 480 wide, its container 490.
      {"the right size in a smaller video window", window, {110, 80, 600, 380}, 480, 300, 200, 150, window},
      // Width 660: left = 100 + (250 - 330); height 581: top = 50 + (200 - 290), negative, so 0.
      {"grown by the missing video size", window, container, 640, 481, 200, 150, AnchorRect{20, 0, 680, 581}},
      // 500 x 400 made 499 x 399: 500/2 - 499/2 = 1, where (500 - 499) / 2 would be 0.
      {"halves truncated apart", {100, 300, 600, 700}, container, 479, 299, 200, 150, AnchorRect{101, 301, 600, 700}},
      // 120 x 250 would do: left = 100 + (250 - 150), top = 50 + (200 - 130).
      {"never below the minimum size", window, container, 100, 150, 300, 260, AnchorRect{200, 120, 500, 380}},
  };
  for (const auto& row : rows) {
    ZoomWindowInput in = Input();
    in.mainWindow = row.mainWindow;
    in.container = row.container;
    in.targetWidth = row.targetWidth;
    in.targetHeight = row.targetHeight;
    in.minWidth = row.minWidth;
    in.minHeight = row.minHeight;
    EXPECT_EQ(ZoomedMainWindowRect(in), row.expected) << row.what;
  }
}

TEST_F(ZoomedMainWindowRectTest, StaysInsideTheWorkAreaWithThePictureProportions) {
  struct Row {
    int targetWidth, targetHeight;
    AnchorRect expected;
  };
  // Work area 1280 x 1000 at (0, 24); the window adds 20 x 100 to the picture.
  for (const Row& row : {
           // 3840 x 2160 at double size: 7680 x 4320 scaled by 1260/7680 to 1260 x 708.
           Row{7680, 4320, AnchorRect{0, 24, 1280, 832}},
           // A forged 16384 x 16384: limited by the height, 900 x 900.
           Row{16384, 16384, AnchorRect{0, 24, 920, 1024}},
           // Fits already: only moved down into the work area.
           Row{640, 480, AnchorRect{20, 24, 680, 604}},
       }) {
    ZoomWindowInput in = Input();
    in.available = {0, 24, 1280, 1024};
    in.targetWidth = row.targetWidth;
    in.targetHeight = row.targetHeight;
    const auto r = ZoomedMainWindowRect(in);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->left, row.expected.left) << row.targetWidth;
    EXPECT_EQ(r->top, row.expected.top) << row.targetWidth;
    EXPECT_EQ(r->Width(), row.expected.Width()) << row.targetWidth;
    EXPECT_EQ(r->Height(), row.expected.Height()) << row.targetWidth;
  }
  // Without a work area, sizes near the int range saturate instead of overflowing.
  ZoomWindowInput in = Input();
  in.targetWidth = 2147483647;
  in.targetHeight = 2147483647;
  EXPECT_EQ(ZoomedMainWindowRect(in)->right, 2147483647);
}

TEST_F(ZoomedMainWindowRectTest, LeftGoesToZeroOnlyWhenTheClientOriginWouldBeOffScreen) {
  ZoomWindowInput in = Input();
  in.mainWindow = {10, 50, 510, 450};
  in.targetWidth = 580;  // new width 600: left = 10 + (250 - 300) = -40
  in.clientOriginX = 39;
  EXPECT_EQ(ZoomedMainWindowRect(in), (AnchorRect{0, 50, 600, 450}));
  // With the client origin far enough right the frame may go off the left.
  in.clientOriginX = 40;
  EXPECT_EQ(ZoomedMainWindowRect(in), (AnchorRect{-40, 50, 560, 450}));
  // The rule looks at left + X only: even a left edge that would stay on
  // screen goes to 0 when the client origin lies far enough left.
  in.mainWindow = {200, 50, 700, 450};  // left = 200 - 50 = 150
  in.clientOriginX = -200;
  EXPECT_EQ(ZoomedMainWindowRect(in)->left, 0);
  in.clientOriginX = -150;
  EXPECT_EQ(ZoomedMainWindowRect(in)->left, 150);
}

TEST(FittedVideoRect, DoesNothingWhileTheNativeSizeIsUnknown) {
  EXPECT_EQ(FittedVideoRect(640, 480, 0, 480, true), std::nullopt);
  EXPECT_EQ(FittedVideoRect(640, 480, 640, 0, false), std::nullopt);
  EXPECT_EQ(FittedVideoRect(640, 480, -640, 480, false), std::nullopt);
}

// The picture keeps the proportions of its display size in any container:
// the screen's proportions and the container's own play no part.
TEST(FittedVideoRect, KeepsThePicturesProportionsCentred) {
  const struct {
    int cw, ch, nw, nh;
    bool nativeSize;
    AnchorRect want;
  } rows[] = {
      {640, 480, 640, 480, false, {0, 0, 640, 480}},         // exactly its size: no scaling
      {1920, 1080, 640, 480, false, {240, 0, 1680, 1080}},   // 4:3 on a 16:9 screen: bars left and right
      {1920, 1200, 1280, 720, false, {0, 60, 1920, 1140}},   // 16:9 on 16:10: bars above and below
      {1280, 1024, 1024, 576, false, {0, 152, 1280, 872}},   // a PAL DVD's 16:9 display size on 5:4
      {1280, 720, 1792, 750, false, {0, 92, 1280, 628}},     // 2.39:1, width binds
      {500, 335, 640, 480, false, {26, 0, 473, 335}},        // 446.67 rounds to the nearest pixel
      {640, 480, 352, 288, true, {144, 96, 496, 384}},       // native size wins
      {640, 0, 640, 480, false, {320, 0, 320, 0}},           // no room: an empty rectangle
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(::testing::Message() << r.cw << "x" << r.ch << " " << r.nw << "x" << r.nh);
    const std::optional<AnchorRect> got = FittedVideoRect(r.cw, r.ch, r.nw, r.nh, r.nativeSize);
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(*got, r.want);
  }
}

// Sizes from the medium may be anything: no overflow, no division by zero.
TEST(FittedVideoRect, HugeSizesStayInRange) {
  const std::optional<AnchorRect> r = FittedVideoRect(INT_MAX, INT_MAX, 16384, 1, false);
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->left, 0);
  EXPECT_GT(r->Height(), 0);
}

TEST(SliderReleaseValue, PointerAcrossTheChannel) {
  // A 520-pixel bar has a 504-pixel channel from x = 8.
  EXPECT_EQ(SliderReleaseValue(8, 520, 1000), 0);
  EXPECT_EQ(SliderReleaseValue(512, 520, 1000), 1000);
  EXPECT_EQ(SliderReleaseValue(260, 520, 1000), 500);
  EXPECT_EQ(SliderReleaseValue(261, 520, 1000), 501);  // 253/504*1000 = 501.98
  // Outside the channel: not clamped, and truncated toward zero.
  EXPECT_EQ(SliderReleaseValue(0, 520, 1000), -15);  // -15.87
  EXPECT_EQ(SliderReleaseValue(519, 520, 1000), 1013);
}

TEST(SliderReleaseValue, NoValueWithoutAChannel) {
  EXPECT_EQ(SliderReleaseValue(8, 16, 100), std::nullopt);
  EXPECT_EQ(SliderReleaseValue(8, 0, 100), std::nullopt);
  EXPECT_EQ(SliderReleaseValue(100000, 17, std::numeric_limits<int>::max()),
            std::numeric_limits<int>::max());
}

TEST(SaturatingDifference, StaysInRange) {
  EXPECT_EQ(SaturatingDifference(5, 8), -3);
  EXPECT_EQ(SaturatingDifference(std::numeric_limits<int>::min(), 1), std::numeric_limits<int>::min());
  EXPECT_EQ(SaturatingDifference(std::numeric_limits<int>::max(), -1), std::numeric_limits<int>::max());
}

}  // namespace
