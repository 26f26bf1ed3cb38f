// The main window's shapes: sized to the picture, double size, sound-only
// strip, full screen, on top while playing.
#include <QMenuBar>
#include <QScreen>
#include <QWindow>

#include "mainwindow/command_ids.h"
#include "mainwindow/kinovue_dlg.h"
#include "mainwindow/video_windows.h"

void CKinovueDlg::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (!videoBackWindow_) return;
  videoFitter_.Relayout(true, 1.0f);
  if (fullScreen_) {
    // The picture takes the whole screen; the strip lies out of sight.
    videoBackWindow_->setGeometry(client_->rect());
    controlPanel_.Panel()->hide();
  }
  videoFitter_.FitVideo(false);
}

void CKinovueDlg::FitToVideo() {
  EngineInfo info;
  if (!engine_) return;
  engine_->GetInfo(&info);
  if (info.hasVideo) {
    if (!savedVideoRect_.isNull()) {
      setMinimumHeight(minimumClientHeight_);
      resize(width(), height() + savedVideoRect_.height());
      savedVideoRect_ = QRect();
    }
    // The picture's shape is needed in full screen too: a new medium there
    // may have other proportions than the last.
    videoFitter_.nativeWidth = info.displayWidth;
    videoFitter_.nativeHeight = info.displayHeight;
    if (!fullScreen_) videoFitter_.ZoomWindow(static_cast<float>(settings_.VideoMutiple));
    videoFitter_.FitVideo(false);
    videoPanel_ = true;
    SetChecked(ID_VIDEO_PANEL, true);
    SetChecked(ID_AUDIO_PANEL, false);
    platform::ScreenSaverInhibitor::SimulateActivity();  // the display is in use
  } else if (info.hasAudio) {
    ShowSoundOnlyStrip();
  }
}

void CKinovueDlg::TellEngineTheScreen() {
  const QScreen* s = screen();
  if (!engine_ || !s) return;
  // Device pixels: the engine pads the picture to the screen's proportions.
  const QSize size = s->size() * s->devicePixelRatio();
  engine_->SetScreenSize(size.width(), size.height());
}

void CKinovueDlg::SetVideoSize(int multiple) {
  EngineInfo info;
  if (engine_) {
    engine_->GetInfo(&info);
    videoFitter_.nativeWidth = info.displayWidth;
    videoFitter_.nativeHeight = info.displayHeight;
  }
  settings_.VideoMutiple = multiple;
  videoFitter_.ZoomWindow(static_cast<float>(multiple));
  // The screen may not have room for the size asked for.
  videoFitter_.FitVideo(false);
  RefreshViewMenu();
  WriteMainSetting(settingsFile_, settings_, &MainSettings::VideoMutiple);
}

void CKinovueDlg::ShowVideoArea() {
  if (videoPanel_) return;
  if (!savedVideoRect_.isNull()) {
    setMinimumHeight(minimumClientHeight_);
    resize(width(), height() + savedVideoRect_.height());
    savedVideoRect_ = QRect();
  }
  videoPanel_ = true;
  SetChecked(ID_VIDEO_PANEL, true);
  SetChecked(ID_AUDIO_PANEL, false);
}

void CKinovueDlg::ShowSoundOnlyStrip() {
  if (!videoPanel_ || !videoBackWindow_) return;
  savedVideoRect_ = QRect(videoBackWindow_->mapToGlobal(QPoint(0, 0)), videoBackWindow_->size());
  // The strip is smaller than the size the user may drag the window to.
  setMinimumHeight(std::max(0, height() - savedVideoRect_.height()));
  resize(width(), height() - savedVideoRect_.height());
  videoPanel_ = false;
  SetChecked(ID_VIDEO_PANEL, false);
  SetChecked(ID_AUDIO_PANEL, true);
}

void CKinovueDlg::ToggleFullScreen() {
  if (!fullScreen_) {
    savedGeometry_ = geometry();
    savedWindowState_ = windowState();
    fullScreen_ = true;
    if (panelOverlay_) HidePanelOverlay();
    menuBar()->hide();
    controlPanel_.Panel()->hide();
    // The window manager's full-screen state where there is one, and the
    // screen's rectangle in any case (a bare X server has no manager).
    setWindowState(windowState() | Qt::WindowFullScreen);
    if (QScreen* s = screen()) setGeometry(s->geometry());
  } else {
    fullScreen_ = false;
    panelOverlay_ = false;
    hideCursorTimer_.stop();
    // A countdown cut short must not keep the next full screen from hiding the cursor.
    pointer_.Reset();
    ApplyCursor();
    menuBar()->show();
    controlPanel_.Panel()->show();
    setWindowState(savedWindowState_ & ~Qt::WindowFullScreen);
    if (!(savedWindowState_ & Qt::WindowMaximized)) setGeometry(savedGeometry_);
  }
  videoFitter_.Relayout(true, 1.0f);
  if (fullScreen_) videoBackWindow_->setGeometry(client_->rect());
  videoFitter_.FitVideo(false);
  RefreshViewMenu();
  mediaRemote_.OnFullScreen(fullScreen_);
}

void CKinovueDlg::ApplyCursor() {
  const Qt::CursorShape shape = pointer_.CursorVisible() ? Qt::ArrowCursor : Qt::BlankCursor;
  if (videoWindow_) videoWindow_->setCursor(shape);
  if (videoBackWindow_) videoBackWindow_->setCursor(shape);
}

void CKinovueDlg::ShowPanelOverlay() {
  QWidget* panel = controlPanel_.Panel();
  const int pictureTop = videoBackWindow_->mapToGlobal(QPoint(0, 0)).y();
  const int workAreaBottom = screen() ? screen()->availableGeometry().bottom() + 1 : pictureTop + videoBackWindow_->height();
  const int bottom = std::min(videoBackWindow_->height(), workAreaBottom - pictureTop);
  panel->setGeometry(0, bottom - FullScreenPointer::kPanelBand, client_->width(), FullScreenPointer::kPanelBand);
  panel->show();
  panel->raise();
  panelOverlay_ = true;
  pointer_.ShowCursor();
  ApplyCursor();
}

void CKinovueDlg::HidePanelOverlay() {
  controlPanel_.Panel()->hide();
  panelOverlay_ = false;
}

void CKinovueDlg::SetTopmost(bool on) {
  QWindow* window = windowHandle();
  if (!window || window->flags().testFlag(Qt::WindowStaysOnTopHint) == on) return;
  // On the window itself, not the widget: changing the widget's flags would
  // recreate the native window and the engine's picture window with it.
  window->setFlag(Qt::WindowStaysOnTopHint, on);
}

void CKinovueDlg::ToggleTopmost() {
  if (settings_.Topmost) SetTopmost(false);
  FlipSetting(&MainSettings::Topmost);
  RefreshViewMenu();
}
