#include "controls/anchor_layout.h"

#include <gtest/gtest.h>

#include <QRegion>
#include <QWidget>
#include <memory>

#include "controls/video_area_fitter.h"
#include "widget_test_support.h"

namespace {

class AnchorLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::WidgetApp();
    parent_ = std::make_unique<QWidget>();
    parent_->resize(301, 120);
    child_ = new QWidget(parent_.get());
    child_->setGeometry(1, 2, 3, 4);
  }

  std::unique_ptr<QWidget> parent_;
  QWidget* child_ = nullptr;
  AnchorLayout layout_;
};

TEST_F(AnchorLayoutTest, NullParentMovesNothingAndEmptyTableSucceeds) {
  const AnchorEntry entry{child_, ANCHOR_REGION_NONE, AnchorPixels(0), AnchorPixels(0, true),
                          AnchorPixels(0), AnchorPixels(0, true), true};
  EXPECT_FALSE(layout_.Layout(nullptr, &entry, 1));
  EXPECT_EQ(child_->geometry(), QRect(1, 2, 3, 4));
  EXPECT_TRUE(layout_.Layout(parent_.get(), nullptr, 0));
  EXPECT_EQ(child_->geometry(), QRect(1, 2, 3, 4));
}

TEST_F(AnchorLayoutTest, PercentAndFarEdgesAgainstTheParent) {
  const AnchorEntry entry{child_, ANCHOR_REGION_NONE,
                          AnchorEdge{nullptr, 0, true, 50},  // 150 of 301
                          AnchorPixels(0, true),             // the right edge
                          AnchorPixels(10),
                          AnchorEdge{nullptr, 1, true, 25},  // 120 - 30
                          false};
  EXPECT_TRUE(layout_.Layout(parent_.get(), &entry, 1));
  EXPECT_EQ(child_->geometry(), QRect(150, 10, 151, 80));
}

TEST_F(AnchorLayoutTest, AReferenceLendsOnlyItsSize) {
  QWidget reference(parent_.get());
  reference.setGeometry(57, 33, 200, 100);
  const AnchorEntry entry{child_, ANCHOR_REGION_NONE,
                          AnchorPixels(5),
                          AnchorEdge{&reference, 1, false, 20},  // 200 - 20
                          AnchorPixels(0),
                          AnchorEdge{&reference, 1, false, 30},  // 100 - 30, not 133 - 30
                          true};
  EXPECT_TRUE(layout_.Layout(parent_.get(), &entry, 1));
  EXPECT_EQ(child_->geometry(), QRect(5, 0, 175, 70));
}

TEST_F(AnchorLayoutTest, RegionsFollowTheNewSize) {
  AnchorEntry entry{child_, ANCHOR_REGION_RECTANGLE, AnchorPixels(10), AnchorPixels(50),
                    AnchorPixels(10), AnchorPixels(40), true};
  layout_.Layout(parent_.get(), &entry, 1);
  EXPECT_EQ(child_->mask(), QRegion(0, 0, 40, 30));

  entry.region = ANCHOR_REGION_ELLIPSE;
  layout_.Layout(parent_.get(), &entry, 1);
  EXPECT_EQ(child_->mask(), QRegion(0, 0, 40, 30, QRegion::Ellipse));
  EXPECT_FALSE(child_->mask().contains(QPoint(1, 1)));  // a corner is cut off

  // Unknown region kinds leave the mask alone.
  child_->clearMask();
  entry.region = 7;
  layout_.Layout(parent_.get(), &entry, 1);
  EXPECT_TRUE(child_->mask().isEmpty());
}

TEST_F(AnchorLayoutTest, EdgesThatCrossGiveAnEmptyWidget) {
  const AnchorEntry entry{child_, ANCHOR_REGION_RECTANGLE, AnchorPixels(200), AnchorPixels(150),
                          AnchorPixels(10), AnchorPixels(40), true};
  EXPECT_TRUE(layout_.Layout(parent_.get(), &entry, 1));
  EXPECT_EQ(child_->geometry(), QRect(200, 10, 0, 30));
}

// ---------------------------------------------------------------- fitter

// A top-level window with the main window's two-entry table: the container
// fills all but the lowest 60 pixels, a strip fills those.
class VideoAreaFitterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::WidgetApp();
    main_ = std::make_unique<QWidget>();
    main_->setGeometry(300, 200, 640, 540);
    container_ = new QWidget(main_.get());
    video_ = new QWidget(main_.get());
    strip_ = new QWidget(main_.get());
    fitter_.mainWindow = main_.get();
    fitter_.videoWindow = video_;
    fitter_.videoContainer = container_;
    fitter_.table = {
        {container_, ANCHOR_REGION_NONE, AnchorPixels(0), AnchorPixels(0, true), AnchorPixels(0),
         AnchorPixels(60, true), true},
        {strip_, ANCHOR_REGION_NONE, AnchorPixels(0), AnchorPixels(0, true), AnchorPixels(60, true),
         AnchorPixels(0, true), true},
    };
    fitter_.minWidth = 320;
    fitter_.minHeight = 240;
  }

  std::unique_ptr<QWidget> main_;
  QWidget* container_ = nullptr;
  QWidget* video_ = nullptr;
  QWidget* strip_ = nullptr;
  VideoAreaFitter fitter_;
};

TEST_F(VideoAreaFitterTest, RelayoutPlacesTheTableAndCentresTheVideo) {
  fitter_.nativeWidth = 320;
  fitter_.nativeHeight = 240;
  fitter_.Relayout(true, 1.5f);
  EXPECT_EQ(container_->geometry(), QRect(0, 0, 640, 480));
  EXPECT_EQ(strip_->geometry(), QRect(0, 480, 640, 60));
  EXPECT_EQ(video_->geometry(), QRect(80, 60, 480, 360));
  EXPECT_EQ(fitter_.clientRect, (AnchorRect{0, 0, 640, 540}));

  // Without fitVideo the video stays where it is.
  main_->resize(700, 600);
  fitter_.Relayout(false, 1.0f);
  EXPECT_EQ(container_->geometry(), QRect(0, 0, 700, 540));
  EXPECT_EQ(video_->geometry(), QRect(80, 60, 480, 360));
}

TEST_F(VideoAreaFitterTest, UnknownNativeSizeFillsTheContainerAndFitVideoDoesNothing) {
  fitter_.Relayout(true, 2.0f);
  EXPECT_EQ(video_->geometry(), QRect(0, 0, 640, 480));
  video_->setGeometry(5, 5, 10, 10);
  EXPECT_FALSE(fitter_.FitVideo(false));
  EXPECT_EQ(video_->geometry(), QRect(5, 5, 10, 10));
}

TEST_F(VideoAreaFitterTest, FitVideoKeepsThePicturesProportions) {
  fitter_.nativeWidth = 1024;  // a 16:9 display size
  fitter_.nativeHeight = 576;
  fitter_.Relayout(false, 1.0f);
  EXPECT_TRUE(fitter_.FitVideo(false));
  EXPECT_EQ(video_->geometry(), QRect(0, 60, 640, 360));
  EXPECT_TRUE(fitter_.FitVideo(true));
  EXPECT_EQ(video_->geometry(), QRect(-192, -48, 1024, 576));
  // A collapsed video area leaves the picture as it was.
  container_->resize(640, 0);
  EXPECT_FALSE(fitter_.FitVideo(false));
  EXPECT_EQ(video_->size(), QSize(1024, 576));
}

TEST_F(VideoAreaFitterTest, ZoomWindowResizesAroundTheCentre) {
  // Inside the offscreen screen (800 x 800), which the window may not outgrow.
  main_->move(50, 50);
  fitter_.nativeWidth = 100;
  fitter_.nativeHeight = 75;
  fitter_.Relayout(true, 1.0f);  // container 640 x 480, video 100 x 75
  fitter_.ZoomWindow(2.0f);      // video 200 x 150: +100 x +75
  EXPECT_EQ(main_->geometry(), QRect(50 + 320 - 370, 50 + 270 - 307, 740, 615));
  EXPECT_EQ(container_->geometry(), QRect(0, 0, 740, 555));
  EXPECT_EQ(video_->geometry(), QRect(270, 202, 200, 150));
  // A picture larger than the screen: the window stays on it.
  fitter_.nativeWidth = 3840;
  fitter_.nativeHeight = 2160;
  fitter_.ZoomWindow(2.0f);
  EXPECT_TRUE(QRect(0, 0, 800, 800).contains(main_->geometry())) << main_->geometry().width();
}

TEST_F(VideoAreaFitterTest, ZoomWindowOnlyRelayoutsWhenTheVideoFillsAtTheRightSize) {
  fitter_.nativeWidth = 320;
  fitter_.nativeHeight = 240;
  fitter_.Relayout(true, 2.0f);  // video 640 x 480 = the container
  strip_->setGeometry(0, 0, 1, 1);
  fitter_.ZoomWindow(2.0f);
  EXPECT_EQ(main_->geometry(), QRect(300, 200, 640, 540));
  EXPECT_EQ(strip_->geometry(), QRect(0, 480, 640, 60));  // the relayout ran
}

}  // namespace
