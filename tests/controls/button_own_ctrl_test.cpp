#include "controls/button_own_ctrl.h"

#include <gtest/gtest.h>

#include <QImage>
#include <memory>
#include <vector>

#include "controls/resource_images.h"
#include "widget_test_support.h"

namespace {

using controls_test::Click;
using controls_test::Leave;
using controls_test::Move;
using controls_test::Press;
using controls_test::Release;
using controls_test::Snapshot;
using State = ButtonOwnCtrlState;

struct Clicks {
  std::vector<QWidget*> buttons;
  static void Record(void* context, QWidget* button, const QMouseEvent& release) {
    EXPECT_EQ(release.type(), QEvent::MouseButtonRelease);
    static_cast<Clicks*>(context)->buttons.push_back(button);
  }
};

// A button of the play button's size on a plain owner.
class ButtonOwnCtrlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::WidgetApp();
    owner_ = std::make_unique<QWidget>();
    owner_->resize(200, 100);
    host_ = std::make_unique<ButtonOwnCtrlHost>();
    host_->SetClickCallback(&clicks_, &Clicks::Record);
    host_->InitToolTips(owner_.get());
    button_ = host_->CreateButton(10, 20, 29, 30, owner_.get(), "播放/暂停");
    ASSERT_NE(button_, nullptr);
  }

  State StateOf() const { return button_->Record().state; }

  // Whether the button shows the given bitmap (compared at its centre,
  // where every look differs from the others).
  bool Shows(std::uint32_t bitmapId) const {
    const QImage expected = LoadResourceBitmap(bitmapId).toImage();
    const QImage shown = Snapshot(button_);
    if (expected.isNull() || shown.size() != expected.size()) return false;
    const QPoint centre(expected.width() / 2, expected.height() / 2);
    return shown.pixel(centre) == expected.pixel(centre);
  }

  Clicks clicks_;
  std::unique_ptr<QWidget> owner_;
  std::unique_ptr<ButtonOwnCtrlHost> host_;
  ButtonOwnCtrl* button_ = nullptr;
};

TEST_F(ButtonOwnCtrlTest, CreationSizeRegionAndToolTip) {
  EXPECT_EQ(button_->geometry(), QRect(10, 20, 29, 30));
  EXPECT_EQ(button_->mask(), QRegion(0, 0, 29, 30));
  EXPECT_EQ(button_->Record().hitRegion, QRegion(0, 0, 29, 30));
  EXPECT_EQ(button_->toolTip(), QString::fromUtf8("播放/暂停"));
  EXPECT_EQ(StateOf(), State::Normal);
  EXPECT_EQ(host_->CreateButton(0, 0, 5, 5, nullptr, "x"), nullptr);

  // Without InitToolTips the text is dropped.
  ButtonOwnCtrlHost plain;
  EXPECT_TRUE(plain.CreateButton(0, 0, 5, 5, owner_.get(), "x")->toolTip().isEmpty());
}

TEST_F(ButtonOwnCtrlTest, HoverFollowsThePointer) {
  Move(button_, QPoint(5, 5));
  EXPECT_EQ(StateOf(), State::Hover);
  Leave(button_);
  EXPECT_EQ(StateOf(), State::Normal);
  Move(button_, QPoint(5, 5));
  Move(button_, QPoint(29, 5));  // just right of the region
  EXPECT_EQ(StateOf(), State::Normal);
  // (0, 0) has always counted as "no position".
  Move(button_, QPoint(0, 0));
  EXPECT_EQ(StateOf(), State::Normal);
}

TEST_F(ButtonOwnCtrlTest, PressAndReleaseInsideIsOneClick) {
  Move(button_, QPoint(5, 5));
  Press(button_, QPoint(5, 5));
  EXPECT_EQ(StateOf(), State::Pressed);
  Move(button_, QPoint(6, 6));  // moving inside keeps the press
  EXPECT_EQ(StateOf(), State::Pressed);
  Release(button_, QPoint(6, 6));
  ASSERT_EQ(clicks_.buttons.size(), 1u);
  EXPECT_EQ(clicks_.buttons[0], button_);
  // Normal even though the pointer is still over it, until it next moves.
  EXPECT_EQ(StateOf(), State::Normal);
  Release(button_, QPoint(6, 6));
  EXPECT_EQ(clicks_.buttons.size(), 1u);
  Move(button_, QPoint(7, 7));
  EXPECT_EQ(StateOf(), State::Hover);
}

TEST_F(ButtonOwnCtrlTest, ReleaseOutsideIsNoClick) {
  Press(button_, QPoint(5, 5));
  Move(button_, QPoint(40, 5));
  EXPECT_EQ(StateOf(), State::Normal);
  Release(button_, QPoint(40, 5));
  EXPECT_TRUE(clicks_.buttons.empty());

  // Coming back in while held gives hover, not the press again.
  Press(button_, QPoint(5, 5));
  Move(button_, QPoint(-3, 5));
  Move(button_, QPoint(5, 5));
  EXPECT_EQ(StateOf(), State::Hover);
  Release(button_, QPoint(5, 5));
  EXPECT_TRUE(clicks_.buttons.empty());

  // A release left of the button lies outside, too.
  Press(button_, QPoint(5, 5));
  Release(button_, QPoint(-1, 5));
  EXPECT_TRUE(clicks_.buttons.empty());
}

TEST_F(ButtonOwnCtrlTest, OnlyTheLeftButtonClicks) {
  controls_test::SendMouse(button_, QEvent::MouseButtonPress, QPoint(5, 5), Qt::RightButton);
  EXPECT_EQ(StateOf(), State::Normal);
  controls_test::SendMouse(button_, QEvent::MouseButtonRelease, QPoint(5, 5), Qt::RightButton);
  EXPECT_TRUE(clicks_.buttons.empty());
}

TEST_F(ButtonOwnCtrlTest, TheSecondPressOfADoubleClickIsNotAPress) {
  Click(button_, QPoint(5, 5));
  controls_test::SendMouse(button_, QEvent::MouseButtonDblClick, QPoint(5, 5));
  Release(button_, QPoint(5, 5));
  EXPECT_EQ(clicks_.buttons.size(), 1u);
}

TEST_F(ButtonOwnCtrlTest, DisabledButtonsIgnoreTheMouse) {
  EXPECT_TRUE(host_->EnableButton(button_, false));  // it was enabled
  EXPECT_FALSE(host_->IsButtonEnabled(button_));
  Move(button_, QPoint(5, 5));
  Click(button_, QPoint(5, 5));
  Leave(button_);
  EXPECT_EQ(StateOf(), State::Disabled);
  EXPECT_TRUE(clicks_.buttons.empty());

  EXPECT_FALSE(host_->EnableButton(button_, false));  // it was disabled
  EXPECT_FALSE(host_->EnableButton(button_, true));
  EXPECT_EQ(StateOf(), State::Normal);
  Click(button_, QPoint(5, 5));
  EXPECT_EQ(clicks_.buttons.size(), 1u);
}

TEST_F(ButtonOwnCtrlTest, EnablingKeepsHoverAndPressed) {
  Move(button_, QPoint(5, 5));
  EXPECT_TRUE(host_->EnableButton(button_, true));
  EXPECT_EQ(StateOf(), State::Hover);
  Press(button_, QPoint(5, 5));
  EXPECT_TRUE(host_->EnableButton(button_, true));
  EXPECT_EQ(StateOf(), State::Pressed);
  EXPECT_TRUE(host_->EnableButton(button_, false));
  EXPECT_EQ(StateOf(), State::Disabled);
}

TEST_F(ButtonOwnCtrlTest, UnknownButtonsAreRefused) {
  QWidget plainWidget(owner_.get());
  QWidget* gone = host_->CreateButton(0, 0, 5, 5, owner_.get(), nullptr);
  delete gone;
  for (QWidget* handle : {static_cast<QWidget*>(nullptr), &plainWidget, gone}) {
    EXPECT_EQ(ButtonOwnCtrl::Find(handle), nullptr);
    EXPECT_EQ(host_->AddBitmapSet(handle, 143, 144, 145, 146), -1);
    EXPECT_FALSE(host_->SelectBitmapSet(handle, 0));
    EXPECT_FALSE(host_->SetText(handle, "x", Qt::black, QFont()));
    EXPECT_FALSE(host_->EnableButton(handle, true));
    EXPECT_FALSE(host_->EnableButton(handle, false));
    EXPECT_FALSE(host_->IsButtonEnabled(handle));
  }
  EXPECT_EQ(ButtonOwnCtrl::Find(button_), button_);
}

TEST_F(ButtonOwnCtrlTest, BitmapSetsAndTheirStateColumns) {
  EXPECT_FALSE(host_->SelectBitmapSet(button_, 0));  // no sets yet
  EXPECT_EQ(host_->AddBitmapSet(button_, 143, 144, 145, 146), 0);
  EXPECT_EQ(host_->AddBitmapSet(button_, 162, 160, 161, 159), 1);
  EXPECT_EQ(button_->Record().currentSet, 0u);  // adding does not switch
  EXPECT_TRUE(Shows(143));

  EXPECT_TRUE(host_->SelectBitmapSet(button_, 1));
  EXPECT_TRUE(Shows(162));
  EXPECT_FALSE(host_->SelectBitmapSet(button_, 2));
  EXPECT_EQ(button_->Record().currentSet, 1u);

  Move(button_, QPoint(5, 5));
  EXPECT_TRUE(Shows(161));
  Press(button_, QPoint(5, 5));
  EXPECT_TRUE(Shows(160));
  host_->EnableButton(button_, false);
  EXPECT_TRUE(Shows(159));
  EXPECT_TRUE(host_->SelectBitmapSet(button_, 0));
  EXPECT_TRUE(Shows(146));
}

TEST_F(ButtonOwnCtrlTest, TextIsDrawnOverTheBackgroundWithoutBitmaps) {
  const QColor grey(212, 208, 200);
  EXPECT_EQ(QColor(Snapshot(button_).pixel(20, 20)), grey);
  QFont font;
  font.setPixelSize(20);
  font.setBold(true);
  EXPECT_TRUE(host_->SetText(button_, "WW", Qt::black, font));
  EXPECT_EQ(button_->Record().text, "WW");
  const QImage image = Snapshot(button_);
  int dark = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(image.pixel(x, y)) < 60) {
        ++dark;
        EXPECT_GE(x, 4) << "text starts at x = 4";
      }
    }
  }
  EXPECT_GT(dark, 20);
}

TEST_F(ButtonOwnCtrlTest, AfterTheHostIsGoneButtonsReportNothing) {
  host_->AddBitmapSet(button_, 143, 144, 145, 146);
  host_.reset();
  Click(button_, QPoint(5, 5));
  EXPECT_TRUE(clicks_.buttons.empty());
  EXPECT_TRUE(button_->toolTip().isEmpty());
  EXPECT_TRUE(button_->Record().bitmapSets.empty());
}

}  // namespace
