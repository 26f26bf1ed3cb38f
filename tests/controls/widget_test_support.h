#pragma once
#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

#include "widget_app.h"

namespace controls_test {

// A mouse event delivered straight to w, through its event filters, at pos
// in w's coordinates. A press holds its button down; moves hold none.
inline bool SendMouse(QWidget* w, QEvent::Type type, QPoint pos,
                      Qt::MouseButton button = Qt::LeftButton) {
  const Qt::MouseButtons held =
      type == QEvent::MouseButtonRelease || type == QEvent::MouseMove ? Qt::NoButton : Qt::MouseButtons(button);
  const Qt::MouseButton which = type == QEvent::MouseMove ? Qt::NoButton : button;
  QMouseEvent event(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), which, held, Qt::NoModifier);
  return QCoreApplication::sendEvent(w, &event);
}

inline void Move(QWidget* w, QPoint pos) { SendMouse(w, QEvent::MouseMove, pos); }
inline void Press(QWidget* w, QPoint pos) { SendMouse(w, QEvent::MouseButtonPress, pos); }
inline void Release(QWidget* w, QPoint pos) { SendMouse(w, QEvent::MouseButtonRelease, pos); }
inline void Click(QWidget* w, QPoint pos) {
  Press(w, pos);
  Release(w, pos);
}

inline void Leave(QWidget* w) {
  QEvent event(QEvent::Leave);
  QCoreApplication::sendEvent(w, &event);
}

// What w shows, as an image of its own size.
inline QImage Snapshot(QWidget* w) { return w->grab().toImage(); }

}  // namespace controls_test
