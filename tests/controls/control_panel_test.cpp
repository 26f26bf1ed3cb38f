#include "controls/control_panel.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QSlider>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "controls/resource_images.h"
#include "widget_test_support.h"

namespace {

using controls_test::Click;
using controls_test::Leave;
using controls_test::Press;
using controls_test::Release;
using controls_test::Snapshot;

// Writes down every request the strip emits.
struct RequestLog {
  std::vector<std::string> calls;

  void Follow(ControlPanel& panel) {
    auto note = [this](const char* text) { return [this, text] { calls.push_back(text); }; };
    QObject::connect(&panel, &ControlPanel::PlayPauseRequested, note("play/pause"));
    QObject::connect(&panel, &ControlPanel::StopRequested, note("stop"));
    QObject::connect(&panel, &ControlPanel::PreviousRequested, note("previous"));
    QObject::connect(&panel, &ControlPanel::NextRequested, note("next"));
    QObject::connect(&panel, &ControlPanel::MuteToggleRequested, note("mute"));
    QObject::connect(&panel, &ControlPanel::SeekRequested,
                     [this](int seconds) { calls.push_back("seek " + std::to_string(seconds)); });
    QObject::connect(&panel, &ControlPanel::VolumeChosen,
                     [this](int volume) { calls.push_back("volume " + std::to_string(volume)); });
  }
};

// A 520-pixel main window with the panel as its bottom 72-pixel strip.
class ControlPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::WidgetApp();
    main_ = std::make_unique<QWidget>();
    main_->resize(520, 400);
    // Shown, so that size changes reach the strip as they do on screen.
    main_->show();
    ASSERT_TRUE(panel_.CreatePanel(main_.get(), QRect(0, 328, 520, 72)));
    requests_.Follow(panel_);
  }

  template <typename T = ButtonOwnCtrl>
  T* Find(const char* name) const {
    T* w = panel_.Panel()->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QSlider* SeekBar() const { return Find<QSlider>("seekBar"); }
  QSlider* VolumeBar() const { return Find<QSlider>("volumeBar"); }

  // Press and release the left button on a bar at x (mid-height).
  void ReleaseBarAt(QSlider* bar, int x) {
    Press(bar, QPoint(x, 11));
    Release(bar, QPoint(x, 11));
  }

  // Everything the table of playback states looks at.
  struct Shown {
    std::uint32_t playSet;
    bool play, stop, prev, next, seek;
    bool operator==(const Shown&) const = default;
  };
  Shown Show() const {
    auto enabled = [&](const char* name) { return Find(name)->Record().state != ButtonOwnCtrlState::Disabled; };
    return Shown{Find("playButton")->Record().currentSet, enabled("playButton"), enabled("stopButton"),
                 enabled("prevButton"), enabled("nextButton"), SeekBar()->isEnabled()};
  }

  RequestLog requests_;
  std::unique_ptr<QWidget> main_;
  ControlPanel panel_;
};

TEST_F(ControlPanelTest, CreatesTheStripOnce) {
  QWidget* strip = panel_.Panel();
  ASSERT_NE(strip, nullptr);
  EXPECT_EQ(strip->parentWidget(), main_.get());
  EXPECT_EQ(strip->geometry(), QRect(0, 328, 520, 72));
  EXPECT_EQ(strip->objectName(), "controlPanel");
  EXPECT_EQ(SeekBar()->property("controlId").toInt(), 1036);
  EXPECT_EQ(VolumeBar()->property("controlId").toInt(), 1037);
  EXPECT_FALSE(panel_.CreatePanel(main_.get(), QRect(0, 0, 10, 10)));
  ControlPanel other;
  EXPECT_FALSE(other.CreatePanel(nullptr, QRect(0, 0, 10, 10)));
}

TEST_F(ControlPanelTest, LayoutAt520By72) {
  const struct {
    const char* name;
    QRect rect;
  } expected[] = {
      {"playButton", {3, 39, 29, 30}},    {"stopButton", {36, 42, 23, 24}},
      {"prevButton", {63, 48, 23, 18}},   {"nextButton", {86, 48, 22, 18}},
      {"volumeBar", {437, 44, 80, 22}},   {"muteButton", {412, 45, 21, 21}},
      {"timeRightCap", {390, 48, 14, 18}}, {"timeField", {130, 48, 260, 18}},
      {"timeLeftCap", {116, 48, 14, 18}}, {"seekBar", {0, 14, 520, 22}},
  };
  for (const auto& e : expected) {
    QWidget* w = Find<QWidget>(e.name);
    EXPECT_EQ(w->geometry(), e.rect) << e.name;
    if (qobject_cast<ButtonOwnCtrl*>(w)) {
      EXPECT_EQ(w->mask(), QRegion(0, 0, e.rect.width(), e.rect.height())) << e.name;
    }
  }
}

TEST_F(ControlPanelTest, ResizingKeepsBottomDistancesAndStretchesTheMiddle) {
  panel_.Panel()->resize(400, 60);
  EXPECT_EQ(Find("playButton")->geometry(), QRect(3, 27, 29, 30));
  EXPECT_EQ(Find("nextButton")->geometry(), QRect(86, 36, 22, 18));
  EXPECT_EQ(Find("timeField")->geometry(), QRect(130, 36, 140, 18));
  EXPECT_EQ(Find("timeRightCap")->geometry(), QRect(270, 36, 14, 18));
  EXPECT_EQ(Find("muteButton")->geometry(), QRect(292, 33, 21, 21));
  EXPECT_EQ(VolumeBar()->geometry(), QRect(317, 32, 80, 22));
  EXPECT_EQ(SeekBar()->geometry(), QRect(0, 2, 400, 22));
}

TEST_F(ControlPanelTest, ButtonsCarryTheirLooksAndToolTips) {
  const struct {
    const char* name;
    const char* toolTip;
    std::vector<std::uint32_t> firstBitmaps;  // normal bitmap of each set
  } expected[] = {
      {"playButton", "播放/暂停", {143, 162}}, {"stopButton", "停止", {150}},
      {"prevButton", "上一个", {154}},         {"nextButton", "下一个", {158}},
      {"muteButton", "静音", {164, 163}},      {"timeLeftCap", "", {169}},
      {"timeField", "", {168}},                {"timeRightCap", "", {170}},
  };
  for (const auto& e : expected) {
    const ButtonOwnCtrl* b = Find(e.name);
    EXPECT_EQ(b->toolTip(), QString::fromUtf8(e.toolTip)) << e.name;
    const ButtonOwnCtrlRecord& r = b->Record();
    ASSERT_EQ(r.bitmapSets.size(), e.firstBitmaps.size()) << e.name;
    EXPECT_EQ(r.currentSet, 0u) << e.name;
    for (std::size_t i = 0; i < r.bitmapSets.size(); ++i) {
      const QImage expectedImage = LoadResourceBitmap(e.firstBitmaps[i]).toImage();
      EXPECT_EQ(r.bitmapSets[i].bitmaps[0].toImage(), expectedImage) << e.name << " set " << i;
      for (const QPixmap& bitmap : r.bitmapSets[i].bitmaps) EXPECT_FALSE(bitmap.isNull()) << e.name;
    }
  }
}

TEST_F(ControlPanelTest, ButtonUpsBecomeRequestsBeforeTheButtonSeesThem) {
  const struct {
    const char* name;
    const char* request;
  } routes[] = {{"playButton", "play/pause"}, {"stopButton", "stop"}, {"prevButton", "previous"},
                {"nextButton", "next"},       {"muteButton", "mute"}};
  for (const auto& route : routes) {
    requests_.calls.clear();
    ButtonOwnCtrl* button = Find(route.name);
    Click(button, QPoint(5, 5));
    EXPECT_EQ(requests_.calls, std::vector<std::string>{route.request}) << route.name;
    // The button never got its button-up: it looks pressed until left.
    EXPECT_EQ(button->Record().state, ButtonOwnCtrlState::Pressed) << route.name;
    Leave(button);
    EXPECT_EQ(button->Record().state, ButtonOwnCtrlState::Normal) << route.name;
  }
  // The read-out is no button of the strip.
  requests_.calls.clear();
  Click(Find("timeField"), QPoint(5, 5));
  EXPECT_TRUE(requests_.calls.empty());
}

TEST_F(ControlPanelTest, AReleaseAwayFromTheButtonIsNoRequest) {
  ButtonOwnCtrl* play = Find("playButton");
  Press(play, QPoint(5, 5));
  controls_test::Move(play, QPoint(5, 40));
  Release(play, QPoint(5, 40));  // still delivered to the button by Qt
  EXPECT_TRUE(requests_.calls.empty());
  EXPECT_EQ(play->Record().state, ButtonOwnCtrlState::Normal);
}

TEST_F(ControlPanelTest, DisabledButtonsSendNothing) {
  panel_.ShowPlaybackState(3, false);
  Click(Find("playButton"), QPoint(5, 5));
  Click(Find("stopButton"), QPoint(5, 5));
  EXPECT_TRUE(requests_.calls.empty());
  EXPECT_EQ(Find("playButton")->Record().state, ButtonOwnCtrlState::Disabled);
}

TEST_F(ControlPanelTest, SeekReleaseMeasuresThePointerAgainstTheRange) {
  panel_.SetSeekRange(1000);
  panel_.ShowPlaybackState(1, true);
  panel_.SetSeekPosition(100);
  QSlider* bar = SeekBar();  // 520 wide: channel from 8 to 512
  ReleaseBarAt(bar, 8);
  ReleaseBarAt(bar, 512);
  ReleaseBarAt(bar, 260);
  ReleaseBarAt(bar, 0);  // left of the channel: -15, not clamped
  panel_.ShowPlaybackState(2, true);  // paused seeks too
  ReleaseBarAt(bar, 386);
  EXPECT_EQ(requests_.calls, (std::vector<std::string>{"seek -100", "seek 900", "seek 400", "seek -115",
                                                   "seek 650"}));
}

TEST_F(ControlPanelTest, SeekReleaseSendsNothingUnlessPlayingOrPaused) {
  panel_.SetSeekRange(1000);
  for (int state : {0, 3, 4}) {
    panel_.ShowPlaybackState(state, true);
    ReleaseBarAt(SeekBar(), 260);
  }
  EXPECT_TRUE(requests_.calls.empty());
  // A release without a press on the bar is no release of the bar.
  panel_.ShowPlaybackState(1, true);
  Release(SeekBar(), QPoint(260, 11));
  EXPECT_TRUE(requests_.calls.empty());
}

TEST_F(ControlPanelTest, VolumeReleaseInEveryState) {
  panel_.SetVolumeRange(100);
  panel_.ShowPlaybackState(3, false);
  QSlider* bar = VolumeBar();  // 80 wide: channel from 8 to 72
  ReleaseBarAt(bar, 40);
  ReleaseBarAt(bar, 8);
  ReleaseBarAt(bar, 72);
  ReleaseBarAt(bar, 2);
  EXPECT_EQ(requests_.calls, (std::vector<std::string>{"volume 50", "volume 0", "volume 100", "volume -9"}));
}

TEST_F(ControlPanelTest, ReleaseArithmeticMatchesTheDrawnHandle) {
  // Releasing on the middle of the handle as drawn asks for the value it
  // shows: the bar's look and the release arithmetic agree.
  QSlider* bar = SeekBar();
  panel_.SetSeekRange(1000);
  panel_.ShowPlaybackState(1, true);
  for (int value : {0, 250, 500, 1000}) {
    panel_.SetSeekPosition(value);
    const QImage image = Snapshot(bar);
    // Along the middle row the handle is the only near-white thing.
    int first = -1, last = -1;
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(image.pixel(x, image.height() / 2)) > 225) {
        if (first < 0) first = x;
        last = x;
      }
    }
    ASSERT_GE(first, 0) << "value " << value;
    EXPECT_GE(last - first + 1, 12) << "value " << value;
    requests_.calls.clear();
    ReleaseBarAt(bar, (first + last + 1) / 2);
    ASSERT_EQ(requests_.calls.size(), 1u);
    // The request is measured from the position the bar was set to.
    const int target = value + std::stoi(requests_.calls[0].substr(5));
    EXPECT_NEAR(target, value, 2) << "value " << value << ", handle " << first << ".." << last;
  }
}

TEST_F(ControlPanelTest, PlaybackStatesSwitchLooksAndEnabling) {
  // Set numbers: 0 play look, 1 pause look.
  panel_.ShowPlaybackState(1, true);
  EXPECT_EQ(Show(), (Shown{1, true, true, true, true, true}));
  panel_.ShowPlaybackState(2, true);
  EXPECT_EQ(Show(), (Shown{0, true, true, true, true, true}));
  panel_.ShowPlaybackState(0, true);  // stop and the look stay
  EXPECT_EQ(Show(), (Shown{0, false, true, false, false, false}));
  panel_.ShowPlaybackState(1, true);
  panel_.ShowPlaybackState(3, true);
  EXPECT_EQ(Show(), (Shown{0, true, false, false, false, false}));
  panel_.ShowPlaybackState(3, false);
  EXPECT_EQ(Show(), (Shown{0, false, false, false, false, false}));
  panel_.ShowPlaybackState(1, false);
  panel_.ShowPlaybackState(4, false);  // aborted changes nothing
  EXPECT_EQ(Show(), (Shown{1, true, true, true, true, true}));
  EXPECT_EQ(Find("playButton")->toolTip(), QString::fromUtf8("播放/暂停"));
}

TEST_F(ControlPanelTest, MuteSwitchesTheSpeakerLook) {
  ButtonOwnCtrl* mute = Find("muteButton");
  panel_.ShowMute(true);
  EXPECT_EQ(mute->Record().currentSet, 1u);
  panel_.ShowMute(false);
  EXPECT_EQ(mute->Record().currentSet, 0u);
  EXPECT_EQ(mute->toolTip(), QString::fromUtf8("静音"));
}

TEST_F(ControlPanelTest, TimeTextInTheReadOut) {
  panel_.SetTimeText("00:01:02/01:30:00");
  const ButtonOwnCtrlRecord& r = Find("timeField")->Record();
  EXPECT_EQ(r.text, "00:01:02/01:30:00");
  EXPECT_EQ(r.textColor, QColor(212, 208, 200));
  EXPECT_EQ(r.textFont.family(), "Arial");
  EXPECT_LE(QFontMetrics(r.textFont).height(), 16);
  EXPECT_GE(QFontMetrics(r.textFont).height(), 14);
  // Light text on the dark field.
  const QImage image = Snapshot(Find("timeField"));
  int light = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) light += qGray(image.pixel(x, y)) > 150 && y > 1 && y < 16;
  EXPECT_GT(light, 30);
}

TEST(ControlPanelImages, EveryNumberedImageIsCompiledIn) {
  testsupport::WidgetApp();
  const struct {
    std::uint32_t first, last;
    QSize size;
  } bitmaps[] = {{143, 146, {29, 30}}, {159, 162, {29, 30}}, {147, 150, {23, 24}},
                 {151, 154, {23, 18}}, {155, 158, {22, 18}}, {163, 165, {21, 21}},
                 {168, 168, {1, 18}},  {169, 170, {13, 18}}, {181, 181, {269, 232}}};
  for (const auto& range : bitmaps) {
    for (std::uint32_t id = range.first; id <= range.last; ++id) {
      EXPECT_EQ(LoadResourceBitmap(id).size(), range.size) << id;
      EXPECT_EQ(LoadResourceBitmap(id + 0x10000).size(), range.size) << "low 16 bits of " << id;
    }
  }
  for (std::uint32_t id : {kProgramIcon, kVideoFileIcon, kMusicFileIcon, kStreamFileIcon}) {
    EXPECT_EQ(LoadResourceIcon(id).availableSizes().size(), std::size(kResourceIconSizes)) << id;
  }
  EXPECT_TRUE(LoadResourceBitmap(166).isNull());
  EXPECT_TRUE(LoadResourceIcon(1).isNull());
}

}  // namespace
