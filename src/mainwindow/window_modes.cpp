// The main window's shapes: sized to the picture, double size, sound-only
// strip, full screen, on top while playing; and its key and mouse filter.
#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

#include "mainwindow/command_ids.h"
#include "mainwindow/key_mapping.h"
#include "mainwindow/kinovue_dlg.h"
#include "mainwindow/menu_tables.h"
#include "mainwindow/video_windows.h"
#include "platform/key_state.h"

void CKinovueDlg::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (!videoBackWindow_) return;
  videoFitter_.Relayout(true, 1.0f);
  if (fullScreen_) {
    // The picture takes the whole screen; the strip lies out of sight.
    videoBackWindow_->setGeometry(client_->rect());
    controlPanel_.Panel()->hide();
  }
  videoFitter_.FitVideo(false, !fullScreen_);
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
    if (!fullScreen_) {
      videoFitter_.nativeWidth = info.displayWidth;
      videoFitter_.nativeHeight = info.displayHeight;
      videoFitter_.ZoomWindow(static_cast<float>(settings_.VideoMutiple));
      videoFitter_.FitVideo(false, true);
    }
    videoPanel_ = true;
    SetChecked(ID_VIDEO_PANEL, true);
    SetChecked(ID_AUDIO_PANEL, false);
    platform::ScreenSaverInhibitor::SimulateActivity();  // the display is in use
  } else if (info.hasAudio) {
    ShowSoundOnlyStrip();
  }
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
  videoFitter_.FitVideo(false, !fullScreen_);
  RefreshViewMenu();
}

void CKinovueDlg::ApplyCursor() {
  const Qt::CursorShape shape = pointer_.CursorVisible() ? Qt::ArrowCursor : Qt::BlankCursor;
  if (videoWindow_) videoWindow_->setCursor(shape);
  if (videoBackWindow_) videoBackWindow_->setCursor(shape);
}

void CKinovueDlg::OnPictureMouseMove(const QPoint& local, const QPoint& global) {
  if (!fullScreen_) return;
  const bool changed = pointer_.OnMove(local.x(), local.y());
  if (pointer_.TakeTimerStart()) hideCursorTimer_.start();
  ApplyCursor();
  if (!changed) return;
  const int pictureTop = videoBackWindow_->mapToGlobal(QPoint(0, 0)).y();
  if (panelOverlay_) {
    // Back over the picture, above the panel: it slides away.
    if (global.y() > pictureTop) HidePanelOverlay();
    return;
  }
  const int pictureBottom = pictureTop + videoBackWindow_->height();
  const int workAreaBottom = screen() ? screen()->availableGeometry().bottom() + 1 : pictureBottom;
  if (FullScreenPointer::InPanelBand(global.y(), pictureBottom, workAreaBottom)) ShowPanelOverlay();
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

void CKinovueDlg::OnHideCursorTick() {
  const bool canHide = fullScreen_ && !panelOverlay_ && CurrentEngineState() == ENGINE_STATE_PLAYING;
  if (pointer_.OnTick(canHide)) hideCursorTimer_.stop();
  ApplyCursor();
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

bool CKinovueDlg::HandleKeyPress(int qtKey, Qt::KeyboardModifiers modifiers) {
  const unsigned vk = VirtualKeyFromQt(qtKey, modifiers);
  const bool control = modifiers & Qt::ControlModifier;
  const bool alt = modifiers & Qt::AltModifier;
  const bool shift = modifiers & Qt::ShiftModifier;
  // The table has no Shift rows: an accelerator is its exact modifier set.
  for (const Accelerator& a : AcceleratorTable()) {
    if (a.virtualKey == vk && a.control == control && a.alt == alt && !shift) {
      OnCommand(a.id);
      return true;
    }
  }
  if (vk == platform::VK_ESCAPE) {
    if (fullScreen_) ToggleFullScreen();
    return true;  // never closes the window
  }
  if (vk == 'T' && !control && !alt) {
    const int capitals = int(keys_->IsDown(platform::VK_LSHIFT)) + int(keys_->IsDown(platform::VK_RSHIFT)) +
                         int(keys_->IsCapsLockOn());
    if (capitals == 1) {
      ToggleTopmost();
      return true;
    }
  }
  return vk != 0 && engine_ && engine_->HandleKey(vk);
}

void CKinovueDlg::OnVideoMouse(unsigned message) {
  auto pauseRule = [this] {
    const int state = CurrentEngineState();
    if (state == ENGINE_STATE_PLAYING)
      Run(ENGINE_CMD_PAUSE);
    else if (state == ENGINE_STATE_PAUSED)
      Run(ENGINE_CMD_PLAY, 0);
  };
  if (message == WM_LBUTTONDOWN) pauseRule();
  if (message == WM_LBUTTONDBLCLK) {
    ToggleFullScreen();
    pauseRule();  // undoes the pause of the double click's first press
  }
}

bool CKinovueDlg::eventFilter(QObject* watched, QEvent* event) {
  // Only widgets' events: the message targets' events come from other
  // threads, and are read only once their receiver has taken them over.
  if (!watched->isWidgetType()) return false;
  switch (event->type()) {
    case QEvent::KeyPress: {
      // Only keys meant for this window, and only at their first receiver
      // (an unhandled key travels on to the parents); dialogs and menus
      // keep theirs.
      QWidget* first = QApplication::focusWidget() ? QApplication::focusWidget() : this;
      if (watched != first || first->window() != this || QApplication::activeModalWidget() ||
          QApplication::activePopupWidget())
        break;
      auto* key = static_cast<QKeyEvent*>(event);
      if (HandleKeyPress(key->key(), key->modifiers())) return true;
      break;
    }
    case QEvent::MouseMove:
      if (watched == videoWindow_ || watched == videoBackWindow_) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        OnPictureMouseMove(mouse->position().toPoint(), mouse->globalPosition().toPoint());
      }
      break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (watched == videoWindow_ || watched == videoBackWindow_) {
        if (watched == videoWindow_ && mouse->button() == Qt::LeftButton && event->type() != QEvent::MouseButtonRelease) {
          OnVideoMouse(event->type() == QEvent::MouseButtonPress ? WM_LBUTTONDOWN : WM_LBUTTONDBLCLK);
          return true;
        }
        if (mouse->button() == Qt::RightButton && event->type() == QEvent::MouseButtonRelease) {
          ShowContextMenu(mouse->globalPosition().toPoint());
          return true;
        }
      } else if (watched == controlPanel_.Panel() && event->type() == QEvent::MouseButtonDblClick &&
                 mouse->button() == Qt::LeftButton) {
        if (videoPanel_)
          ShowSoundOnlyStrip();
        else
          ShowVideoArea();
        return true;
      }
      break;
    }
    default:
      break;
  }
  return QMainWindow::eventFilter(watched, event);
}
