// The main window's shapes: sized to the picture, double size, sound-only
// strip, full screen, on top while playing.
#include "mainwindow/window_modes.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <utility>

#include "engine/engine_types.h"
#include "mainwindow/command_ids.h"
#include "mainwindow/main_settings.h"
#include "platform/screen_saver.h"

namespace {

// Height of the control strip under the picture, in pixels.
constexpr int kStripHeight = 60;

}  // namespace

WindowModes::WindowModes(QMainWindow& window, MainSettings& settings, IniFile& settingsFile, Hooks hooks)
    : window_(window), settings_(settings), settingsFile_(settingsFile), hooks_(std::move(hooks)) {
  hideCursorTimer_.setInterval(1000);
  QObject::connect(&hideCursorTimer_, &QTimer::timeout, &hideCursorTimer_, [this] { HideCursorTick(); });
}

int WindowModes::EngineState() const {
  CPlayerEngine* engine = hooks_.engine();
  return engine ? engine->GetState() : ENGINE_STATE_STOPPED;
}

void WindowModes::LayOut(QWidget* client, QWidget* videoBack, QWidget* video, QWidget* panel) {
  client_ = client;
  videoBack_ = videoBack;
  video_ = video;
  panel_ = panel;
  const int normalWidth = window_.frameGeometry().width();
  const int normalHeight = window_.frameGeometry().height();
  window_.setMinimumSize(window_.size());
  minimumClientHeight_ = window_.minimumHeight();

  videoFitter_.mainWindow = &window_;
  videoFitter_.clientWindow = client;
  videoFitter_.videoWindow = video;
  videoFitter_.videoContainer = videoBack;
  videoFitter_.minWidth = normalWidth;
  videoFitter_.minHeight = normalHeight;
  AnchorEntry back;
  back.window = videoBack;
  back.left = AnchorPixels(0);
  back.right = AnchorPixels(0, true);
  back.top = AnchorPixels(0);
  back.bottom = AnchorPixels(kStripHeight, true);
  back.repaint = true;
  AnchorEntry strip;
  strip.window = panel;
  strip.left = AnchorPixels(0);
  strip.right = AnchorPixels(0, true);
  strip.top = AnchorPixels(kStripHeight, true);
  strip.bottom = AnchorPixels(0, true);
  strip.repaint = true;
  videoFitter_.table = {back, strip};
  videoFitter_.Relayout(true, 1.0f);
}

void WindowModes::OnResize() {
  if (!videoBack_) return;
  videoFitter_.Relayout(true, 1.0f);
  if (fullScreen_) {
    // The picture takes the whole screen; the strip lies out of sight.
    videoBack_->setGeometry(client_->rect());
    panel_->hide();
  }
  videoFitter_.FitVideo(false);
}

void WindowModes::RestoreVideoHeight() {
  if (savedVideoRect_.isNull()) return;
  window_.setMinimumHeight(minimumClientHeight_);
  window_.resize(window_.width(), window_.height() + savedVideoRect_.height());
  savedVideoRect_ = QRect();
}

void WindowModes::MarkVideoPanel(bool on) {
  videoPanel_ = on;
  hooks_.check(ID_VIDEO_PANEL, on);
  hooks_.check(ID_AUDIO_PANEL, !on);
}

void WindowModes::FitToVideo() {
  CPlayerEngine* engine = hooks_.engine();
  if (!engine) return;
  EngineInfo info;
  engine->GetInfo(&info);
  if (info.hasVideo) {
    RestoreVideoHeight();
    // The picture's shape is needed in full screen too: a new medium there
    // may have other proportions than the last.
    videoFitter_.nativeWidth = info.displayWidth;
    videoFitter_.nativeHeight = info.displayHeight;
    if (!fullScreen_) videoFitter_.ZoomWindow(static_cast<float>(settings_.VideoMutiple));
    videoFitter_.FitVideo(false);
    MarkVideoPanel(true);
    platform::ScreenSaverInhibitor::SimulateActivity();  // the display is in use
  } else if (info.hasAudio) {
    ShowSoundOnlyStrip();
  }
}

void WindowModes::TellEngineTheScreen() {
  CPlayerEngine* engine = hooks_.engine();
  const QScreen* s = window_.screen();
  if (!engine || !s) return;
  // Device pixels: the engine pads the picture to the screen's proportions.
  const QSize size = s->size() * s->devicePixelRatio();
  engine->SetScreenSize(size.width(), size.height());
}

void WindowModes::SetVideoSize(int multiple) {
  if (CPlayerEngine* engine = hooks_.engine()) {
    EngineInfo info;
    engine->GetInfo(&info);
    videoFitter_.nativeWidth = info.displayWidth;
    videoFitter_.nativeHeight = info.displayHeight;
  }
  settings_.VideoMutiple = multiple;
  videoFitter_.ZoomWindow(static_cast<float>(multiple));
  // The screen may not have room for the size asked for.
  videoFitter_.FitVideo(false);
  hooks_.viewChanged();
  WriteMainSetting(settingsFile_, settings_, &MainSettings::VideoMutiple);
}

void WindowModes::ShowVideoArea() {
  if (videoPanel_) return;
  RestoreVideoHeight();
  MarkVideoPanel(true);
}

void WindowModes::ShowSoundOnlyStrip() {
  if (!videoPanel_ || !videoBack_) return;
  savedVideoRect_ = QRect(videoBack_->mapToGlobal(QPoint(0, 0)), videoBack_->size());
  // The strip is smaller than the size the user may drag the window to.
  window_.setMinimumHeight(std::max(0, window_.height() - savedVideoRect_.height()));
  window_.resize(window_.width(), window_.height() - savedVideoRect_.height());
  MarkVideoPanel(false);
}

void WindowModes::SetFullScreen(bool on) {
  if (on != fullScreen_) ToggleFullScreen();
}

void WindowModes::ToggleFullScreen() {
  if (!fullScreen_) {
    savedGeometry_ = window_.geometry();
    savedWindowState_ = window_.windowState();
    fullScreen_ = true;
    if (panelOverlay_) HidePanelOverlay();
    window_.menuBar()->hide();
    panel_->hide();
    // The window manager's full-screen state where there is one, and the
    // screen's rectangle in any case (a bare X server has no manager).
    window_.setWindowState(window_.windowState() | Qt::WindowFullScreen);
    if (QScreen* s = window_.screen()) window_.setGeometry(s->geometry());
  } else {
    fullScreen_ = false;
    panelOverlay_ = false;
    hideCursorTimer_.stop();
    // A countdown cut short must not keep the next full screen from hiding the cursor.
    pointer_.Reset();
    ApplyCursor();
    window_.menuBar()->show();
    panel_->show();
    window_.setWindowState(savedWindowState_ & ~Qt::WindowFullScreen);
    if (!(savedWindowState_ & Qt::WindowMaximized)) window_.setGeometry(savedGeometry_);
  }
  videoFitter_.Relayout(true, 1.0f);
  if (fullScreen_) videoBack_->setGeometry(client_->rect());
  videoFitter_.FitVideo(false);
  hooks_.viewChanged();
  hooks_.fullScreenChanged(fullScreen_);
}

void WindowModes::ApplyCursor() {
  const Qt::CursorShape shape = pointer_.CursorVisible() ? Qt::ArrowCursor : Qt::BlankCursor;
  if (video_) video_->setCursor(shape);
  if (videoBack_) videoBack_->setCursor(shape);
}

void WindowModes::ShowPanelOverlay() {
  const QScreen* s = window_.screen();
  const int pictureTop = videoBack_->mapToGlobal(QPoint(0, 0)).y();
  const int workAreaBottom = s ? s->availableGeometry().bottom() + 1 : pictureTop + videoBack_->height();
  const int bottom = std::min(videoBack_->height(), workAreaBottom - pictureTop);
  panel_->setGeometry(0, bottom - FullScreenPointer::kPanelBand, client_->width(), FullScreenPointer::kPanelBand);
  panel_->show();
  panel_->raise();
  panelOverlay_ = true;
  pointer_.ShowCursor();
  ApplyCursor();
}

void WindowModes::HidePanelOverlay() {
  panel_->hide();
  panelOverlay_ = false;
}

void WindowModes::SetTopmost(bool on) {
  QWindow* window = window_.windowHandle();
  if (!window || window->flags().testFlag(Qt::WindowStaysOnTopHint) == on) return;
  // On the window itself, not the widget: changing the widget's flags would
  // recreate the native window and the engine's picture window with it.
  window->setFlag(Qt::WindowStaysOnTopHint, on);
}

void WindowModes::ToggleTopmost() {
  if (settings_.Topmost) SetTopmost(false);
  settings_.Topmost = !settings_.Topmost;
  WriteMainSetting(settingsFile_, settings_, &MainSettings::Topmost);
  hooks_.viewChanged();
}

void WindowModes::OnVideoMouse(unsigned message) {
  auto pauseRule = [this] {
    const int state = EngineState();
    if (state == ENGINE_STATE_PLAYING)
      hooks_.run(ENGINE_CMD_PAUSE, 0);
    else if (state == ENGINE_STATE_PAUSED)
      hooks_.run(ENGINE_CMD_PLAY, 0);
  };
  if (message == WM_LBUTTONDOWN) pauseRule();
  if (message == WM_LBUTTONDBLCLK) {
    ToggleFullScreen();
    pauseRule();  // undoes the pause of the double click's first press
  }
}

void WindowModes::OnPictureMouseMove(const QPoint& local, const QPoint& global) {
  if (!fullScreen_) return;
  const bool changed = pointer_.OnMove(local.x(), local.y());
  if (pointer_.TakeTimerStart()) hideCursorTimer_.start();
  ApplyCursor();
  if (!changed) return;
  const int pictureTop = videoBack_->mapToGlobal(QPoint(0, 0)).y();
  if (panelOverlay_) {
    // Back over the picture, above the panel: it slides away.
    if (global.y() > pictureTop) HidePanelOverlay();
    return;
  }
  const QScreen* s = window_.screen();
  const int pictureBottom = pictureTop + videoBack_->height();
  const int workAreaBottom = s ? s->availableGeometry().bottom() + 1 : pictureBottom;
  if (FullScreenPointer::InPanelBand(global.y(), pictureBottom, workAreaBottom)) ShowPanelOverlay();
}

void WindowModes::HideCursorTick() {
  const bool canHide = fullScreen_ && !panelOverlay_ && EngineState() == ENGINE_STATE_PLAYING;
  if (pointer_.OnTick(canHide)) hideCursorTimer_.stop();
  ApplyCursor();
}
