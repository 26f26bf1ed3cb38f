// The main window's key and mouse routing: which keys and clicks it takes
// for itself and which it passes on to the engine.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "mainwindow/key_mapping.h"
#include "mainwindow/kinovue_dlg.h"
#include "mainwindow/menu_tables.h"
#include "mainwindow/video_windows.h"
#include "platform/key_state.h"

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
        modes_.OnPictureMouseMove(mouse->position().toPoint(), mouse->globalPosition().toPoint());
      }
      break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (watched == videoWindow_ || watched == videoBackWindow_) {
        if (watched == videoWindow_ && mouse->button() == Qt::LeftButton && event->type() != QEvent::MouseButtonRelease) {
          modes_.OnVideoMouse(event->type() == QEvent::MouseButtonPress ? WM_LBUTTONDOWN : WM_LBUTTONDBLCLK);
          return true;
        }
        if (mouse->button() == Qt::RightButton && event->type() == QEvent::MouseButtonRelease) {
          ShowContextMenu(mouse->globalPosition().toPoint());
          return true;
        }
      } else if (watched == controlPanel_.Panel() && event->type() == QEvent::MouseButtonDblClick &&
                 mouse->button() == Qt::LeftButton) {
        if (modes_.IsVideoPanel())
          modes_.ShowSoundOnlyStrip();
        else
          modes_.ShowVideoArea();
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
  if (const int speed = SpeedAfterKey(qtKey, modifiers, CurrentSpeed())) {
    Run(ENGINE_CMD_SET_SPEED, speed);
    return true;
  }
  if (vk == platform::VK_ESCAPE) {
    if (modes_.IsFullScreen()) modes_.ToggleFullScreen();
    return true;  // never closes the window
  }
  if (vk == 'T' && !control && !alt) {
    const platform::KeyState* keys = options_.keys.get();
    const int capitals = keys ? int(keys->IsDown(platform::VK_LSHIFT)) + int(keys->IsDown(platform::VK_RSHIFT)) +
                                    int(keys->IsCapsLockOn())
                              : 0;
    if (capitals == 1) {
      modes_.ToggleTopmost();
      return true;
    }
  }
  return vk != 0 && engine_ && engine_->HandleKey(vk);
}
