#pragma once
#include <QObject>
#include <QPoint>
#include <QTimer>
#include <functional>
#include <optional>

#include "controls/window_dock.h"

class QWidget;

// The dock's windows are top-level widgets, named by their X11 ids
// (QWidget::winId). Rectangles are frame rectangles, so a window manager's
// decorations count as part of the window.
class WidgetDockWindows : public DockWindows {
 public:
  std::optional<AnchorRect> WindowRect(DockWindow window) const override;
  void MoveWindow(DockWindow window, int x, int y) override;

  // The handle the dock knows widget by (creates its native window).
  static DockWindow HandleOf(QWidget* widget);
  // Where the dock last put widget; a null point when it never moved it.
  static QPoint PlacedPosition(const QWidget* widget);
};

// Tells when the user has finished moving a top-level window: Qt reports a
// move as a series of move events, so the move counts as ended when no other
// move followed for a short while. Moves made by the dock are not the user's
// and are not reported. Owned by (a child of) the window it watches.
class DockMoveWatcher : public QObject {
  Q_OBJECT

 public:
  // Quiet time after the last move event of a drag.
  static constexpr int kMoveEndMs = 200;

  DockMoveWatcher(QWidget* window, std::function<void()> onMoveEnded);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool MovedByUser() const;

  QWidget* window_;
  std::function<void()> onMoveEnded_;
  QTimer quiet_;
  // A move that ends where the last reported one did is not reported again:
  // a window manager that keeps a window off where the dock puts it would
  // otherwise have the two move it back and forth for ever.
  std::optional<QPoint> lastReported_;
};
