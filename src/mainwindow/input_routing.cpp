// The main window's key and mouse routing: which keys and clicks it takes
// for itself, which it passes on to the engine, and the pointer in full
// screen.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>

#include "mainwindow/key_routing.h"
#include "mainwindow/kinovue_dlg.h"
#include "mainwindow/video_windows.h"

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

bool CKinovueDlg::HandleKeyPress(int qtKey, Qt::KeyboardModifiers modifiers) {
  const KeyRoute route = RouteKeyPress(qtKey, modifiers, options_.keys.get());
  switch (route.to) {
    case KeyRoute::To::Command:
      OnCommand(route.command);
      return true;
    case KeyRoute::To::LeaveFullScreen:
      if (fullScreen_) ToggleFullScreen();
      return true;
    case KeyRoute::To::Engine:
      return engine_ && engine_->HandleKey(route.virtualKey);
    case KeyRoute::To::Nowhere:
      break;
  }
  return false;
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

void CKinovueDlg::OnHideCursorTick() {
  const bool canHide = fullScreen_ && !panelOverlay_ && CurrentEngineState() == ENGINE_STATE_PLAYING;
  if (pointer_.OnTick(canHide)) hideCursorTimer_.stop();
  ApplyCursor();
}
