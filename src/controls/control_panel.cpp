#include "controls/control_panel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QSlider>
#include <QWidget>

#include "controls/anchor_geometry.h"

namespace {

const QColor kInterfaceGrey(212, 208, 200);

// The handle is 16 pixels wide over a groove as wide as the bar, so its
// centre runs from x = 8 to width - 8: exactly the channel that a release
// is measured against (pointer x - 8 over width - 16).
const char kBarStyle[] = R"(
QSlider { background: rgb(212, 208, 200); }
QSlider::groove:horizontal {
  height: 4px; margin: 0px; border-radius: 2px; background: #a39e94;
}
QSlider::sub-page:horizontal {
  border-radius: 2px;
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #5d9af0, stop:1 #2b66c8);
}
QSlider::add-page:horizontal { border-radius: 2px; background: #aba69d; }
QSlider::handle:horizontal {
  width: 14px; height: 14px; margin: -6px 0px; border-radius: 8px;
  border: 1px solid #8f8a80;
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #dedad2);
}
QSlider::handle:horizontal:hover { border: 1px solid #4a85dc; background: #ffffff; }
QSlider::handle:horizontal:pressed {
  border: 1px solid #2b66c8;
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #dde8f8, stop:1 #ffffff);
}
QSlider::sub-page:horizontal:disabled { background: #b8b3aa; }
QSlider::add-page:horizontal:disabled { background: #c2bdb4; }
QSlider::handle:horizontal:disabled { border: 1px solid #bcb7ae; background: #e2dfd9; }
)";

// Clicks are taken from the button-up before a button sees it (see
// InterceptButtonRelease), so the buttons' own click reports go nowhere.
void IgnoreClick(void*, QWidget*, const QMouseEvent&) {}

AnchorEntry Entry(QWidget* window, std::int32_t region, AnchorEdge left, AnchorEdge right,
                  AnchorEdge top, AnchorEdge bottom) {
  return AnchorEntry{window, region, left, right, top, bottom, true};
}

constexpr AnchorEdge Near(int value) { return AnchorPixels(value); }
constexpr AnchorEdge Far(int value) { return AnchorPixels(value, true); }

}  // namespace

QFont MakeTimeFont() {
  QFont font(QStringLiteral("Arial"));
  // A light weight; with only a regular face the regular one is drawn.
  font.setWeight(static_cast<QFont::Weight>(12));
  // 16 is the height of the whole character cell (ascent + descent), so the
  // pixel size, which Qt counts without the leading, is found by measuring.
  int pixels = 16;
  font.setPixelSize(pixels);
  while (pixels > 1 && QFontMetrics(font).height() > 16) font.setPixelSize(--pixels);
  return font;
}

ControlPanel::ControlPanel() = default;

ControlPanel::~ControlPanel() { delete panel_.data(); }

bool ControlPanel::CreatePanel(QWidget* mainWindow, const QRect& rect) {
  if (!mainWindow || panel_) return false;

  QWidget* panel = new QWidget(mainWindow);
  panel_ = panel;
  panel->setObjectName(QStringLiteral("controlPanel"));
  panel->setProperty("controlId", kPanelId);
  QPalette palette = panel->palette();
  palette.setColor(QPalette::Window, kInterfaceGrey);
  panel->setPalette(palette);
  panel->setAutoFillBackground(true);
  panel->setGeometry(rect);
  panel->show();

  const int clientWidth = panel->width();
  buttons_.SetClickCallback(nullptr, IgnoreClick);
  buttons_.InitToolTips(panel);
  CreateButtons();
  timeFont_ = MakeTimeFont();
  seekBar_ = CreateBar("seekBar", kSeekBarId, clientWidth);
  volumeBar_ = CreateBar("volumeBar", kVolumeBarId, 80);

  BuildLayoutTable();
  RunLayout();
  panel->installEventFilter(this);
  return true;
}

void ControlPanel::CreateButtons() {
  QWidget* panel = panel_;
  auto make = [&](const char* name, int width, int height, const char* toolTip) {
    ButtonOwnCtrl* button = buttons_.CreateButton(0, 0, width, height, panel, toolTip);
    button->setObjectName(QString::fromLatin1(name));
    return button;
  };
  auto addSet = [&](ButtonOwnCtrl* button, std::uint32_t normal, std::uint32_t pressed,
                    std::uint32_t hover, std::uint32_t disabled) {
    return buttons_.AddBitmapSet(button, normal, pressed, hover, disabled);
  };

  playButton_ = make("playButton", 29, 30, "播放/暂停");
  playLook_ = addSet(playButton_, 143, 144, 145, 146);
  pauseLook_ = addSet(playButton_, 162, 160, 161, 159);
  stopButton_ = make("stopButton", 23, 24, "停止");
  addSet(stopButton_, 150, 148, 149, 147);
  prevButton_ = make("prevButton", 23, 18, "上一个");
  addSet(prevButton_, 154, 152, 153, 151);
  nextButton_ = make("nextButton", 22, 18, "下一个");
  addSet(nextButton_, 158, 156, 157, 155);
  muteButton_ = make("muteButton", 21, 21, "静音");
  soundLook_ = addSet(muteButton_, 164, 165, 164, 164);
  mutedLook_ = addSet(muteButton_, 163, 163, 163, 163);
  timeLeftCap_ = make("timeLeftCap", 14, 18, nullptr);
  addSet(timeLeftCap_, 169, 169, 169, 169);
  timeField_ = make("timeField", 20, 18, nullptr);
  addSet(timeField_, 168, 168, 168, 168);
  timeRightCap_ = make("timeRightCap", 14, 18, nullptr);
  addSet(timeRightCap_, 170, 170, 170, 170);

  for (ButtonOwnCtrl* button : {playButton_, stopButton_, prevButton_, nextButton_, muteButton_,
                                timeLeftCap_, timeField_, timeRightCap_}) {
    buttons_.SelectBitmapSet(button, 0);
  }
  for (ButtonOwnCtrl* button : {playButton_, stopButton_, prevButton_, nextButton_, muteButton_}) {
    button->installEventFilter(this);
  }
}

QSlider* ControlPanel::CreateBar(const char* name, int id, int width) {
  auto* bar = new QSlider(Qt::Horizontal, panel_);
  bar->setObjectName(QString::fromLatin1(name));
  bar->setProperty("controlId", id);
  bar->setTickPosition(QSlider::NoTicks);
  // The keyboard belongs to the main window's shortcuts, not to the bars.
  bar->setFocusPolicy(Qt::NoFocus);
  bar->setStyleSheet(QString::fromLatin1(kBarStyle));
  bar->setAutoFillBackground(true);
  bar->setPageStep(0);
  bar->setSingleStep(0);
  bar->setGeometry(0, 0, width, 22);
  bar->show();
  bar->installEventFilter(this);
  return bar;
}

void ControlPanel::BuildLayoutTable() {
  // Left, right, top, bottom; Far(n) is n pixels from the right or bottom.
  // The small buttons sit 6 pixels above the bottom, the play button is
  // centred on the stop button, the seek bar ends 3 pixels above the play
  // button, and controls follow each other 4 pixels apart (previous and next
  // touch; the time read-out keeps 8 pixels to its neighbours).
  constexpr std::int32_t kRect = ANCHOR_REGION_RECTANGLE;
  constexpr std::int32_t kNone = ANCHOR_REGION_NONE;
  layoutTable_ = {
      Entry(playButton_, kRect, Near(3), Near(32), Far(33), Far(3)),
      Entry(stopButton_, kRect, Near(36), Near(59), Far(30), Far(6)),
      Entry(prevButton_, kRect, Near(63), Near(86), Far(24), Far(6)),
      Entry(nextButton_, kRect, Near(86), Near(108), Far(24), Far(6)),
      Entry(volumeBar_, kNone, Far(83), Far(3), Far(28), Far(6)),
      Entry(muteButton_, kRect, Far(108), Far(87), Far(27), Far(6)),
      Entry(timeRightCap_, kRect, Far(130), Far(116), Far(24), Far(6)),
      Entry(timeField_, kRect, Near(130), Far(130), Far(24), Far(6)),
      Entry(timeLeftCap_, kRect, Near(116), Near(130), Far(24), Far(6)),
      Entry(seekBar_, kNone, Near(0), Far(0), Far(58), Far(36)),
  };
}

void ControlPanel::RunLayout() {
  layout_.Layout(panel_, layoutTable_.data(), layoutTable_.size());
}

void ControlPanel::SetSeekRange(int length) {
  if (!seekBar_) return;
  seekBar_->setRange(0, length);
  seekBar_->setPageStep(0);
  seekBar_->setSingleStep(1);
}

void ControlPanel::SetSeekPosition(int position) {
  position_ = position;
  if (seekBar_) seekBar_->setValue(position);
}

void ControlPanel::SetVolumeRange(int maximum) {
  if (!volumeBar_) return;
  volumeBar_->setRange(0, maximum);
  volumeBar_->setPageStep(0);
  volumeBar_->setSingleStep(0);
}

void ControlPanel::SetVolumePosition(int value) {
  if (volumeBar_) volumeBar_->setValue(value);
}

void ControlPanel::SetTimeText(const std::string& text) {
  timeText_ = text;
  buttons_.SetText(timeField_, text, kInterfaceGrey, timeFont_);
  if (timeField_) timeField_->setToolTip(QString());
}

void ControlPanel::ShowMessage(const std::string& text) {
  SetTimeText(text);
  if (timeField_) timeField_->setToolTip(QString::fromStdString(text));
}

void ControlPanel::ShowPlaybackState(int state, bool hasMedia) {
  state_ = state;
  if (!panel_) return;
  switch (state) {
    case ENGINE_STATE_OPENING:
      buttons_.EnableButton(playButton_, false);
      buttons_.EnableButton(prevButton_, false);
      buttons_.EnableButton(nextButton_, false);
      seekBar_->setEnabled(false);
      break;
    case ENGINE_STATE_PLAYING:
    case ENGINE_STATE_PAUSED:
      buttons_.SelectBitmapSet(playButton_,
                               static_cast<std::uint32_t>(state == ENGINE_STATE_PLAYING ? pauseLook_ : playLook_));
      buttons_.EnableButton(playButton_, true);
      buttons_.EnableButton(stopButton_, true);
      buttons_.EnableButton(prevButton_, true);
      buttons_.EnableButton(nextButton_, true);
      seekBar_->setEnabled(true);
      break;
    case ENGINE_STATE_STOPPED:
      buttons_.SelectBitmapSet(playButton_, static_cast<std::uint32_t>(playLook_));
      buttons_.EnableButton(playButton_, hasMedia);
      buttons_.EnableButton(stopButton_, false);
      buttons_.EnableButton(prevButton_, false);
      buttons_.EnableButton(nextButton_, false);
      seekBar_->setEnabled(false);
      break;
    default:
      break;
  }
}

void ControlPanel::ShowMute(bool muted) {
  buttons_.SelectBitmapSet(muteButton_, static_cast<std::uint32_t>(muted ? mutedLook_ : soundLook_));
}

bool ControlPanel::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::Resize:
      // The new size is in place when the event is sent.
      if (watched == panel_.data()) RunLayout();
      break;
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() == Qt::LeftButton && (watched == seekBar_.data() || watched == volumeBar_.data())) {
        auto* bar = static_cast<QSlider*>(watched);
        if (bar->isEnabled()) pressedBar_ = bar;
      }
      break;
    }
    case QEvent::MouseButtonRelease: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton) break;
      if (InterceptButtonRelease(watched, mouse->position().toPoint())) return true;
      if (watched == pressedBar_) {
        pressedBar_ = nullptr;
        // The bar still gets the release, to end its own drag.
        BarReleased(static_cast<QSlider*>(watched), mouse->position().toPoint().x());
      }
      break;
    }
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

bool ControlPanel::InterceptButtonRelease(QObject* watched, QPoint pos) {
  // The request goes out before the button sees the release, and the button
  // never sees it: it keeps its pressed look until the pointer leaves it.
  // A disabled button gets its release, which it ignores.
  //
  // Qt hands a release to the widget that got the press even when the
  // pointer has left it; only a release over the button counts as one of
  // the button's, as it would without that grab.
  struct Route {
    ButtonOwnCtrl* button;
    void (ControlPanel::*request)();
  };
  const Route routes[] = {
      {playButton_, &ControlPanel::PlayPauseRequested},
      {stopButton_, &ControlPanel::StopRequested},
      {prevButton_, &ControlPanel::PreviousRequested},
      {nextButton_, &ControlPanel::NextRequested},
      {muteButton_, &ControlPanel::MuteToggleRequested},
  };
  for (const Route& route : routes) {
    if (watched != route.button) continue;
    if (!route.button->rect().contains(pos) || !buttons_.IsButtonEnabled(route.button)) return false;
    emit(this->*route.request)();
    return true;
  }
  return false;
}

void ControlPanel::BarReleased(QSlider* bar, int pointerX) {
  if (bar == seekBar_.data()) {
    if (state_ != ENGINE_STATE_PLAYING && state_ != ENGINE_STATE_PAUSED) return;
    // The target comes from the pointer, not from the handle.
    const std::optional<int> target = SliderReleaseValue(pointerX, bar->width(), bar->maximum());
    if (target) emit SeekRequested(SaturatingDifference(*target, position_));
  } else if (bar == volumeBar_.data()) {
    const int span = SaturatingDifference(bar->maximum(), bar->minimum());
    if (const std::optional<int> value = SliderReleaseValue(pointerX, bar->width(), span)) {
      emit VolumeChosen(*value);
    }
  }
}
