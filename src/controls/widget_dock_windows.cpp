#include "controls/widget_dock_windows.h"

#include <QEvent>
#include <QVariant>
#include <QWidget>

namespace {

constexpr char kPlacedProperty[] = "dockPlacedAt";

QWidget* WindowOf(DockWindow window) {
  QWidget* widget = QWidget::find(static_cast<WId>(window));
  return widget && widget->isWindow() ? widget : nullptr;
}

}  // namespace

std::optional<AnchorRect> WidgetDockWindows::WindowRect(DockWindow window) const {
  const QWidget* widget = WindowOf(window);
  if (!widget) return std::nullopt;
  const QRect frame = widget->frameGeometry();
  return AnchorRect{frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()};
}

void WidgetDockWindows::MoveWindow(DockWindow window, int x, int y) {
  QWidget* widget = WindowOf(window);
  if (!widget) return;
  widget->setProperty(kPlacedProperty, QPoint(x, y));
  widget->move(x, y);
  widget->update();
}

DockWindow WidgetDockWindows::HandleOf(QWidget* widget) { return widget ? static_cast<DockWindow>(widget->winId()) : 0; }

QPoint WidgetDockWindows::PlacedPosition(const QWidget* widget) { return widget->property(kPlacedProperty).toPoint(); }

DockMoveWatcher::DockMoveWatcher(QWidget* window, std::function<void()> onMoveEnded)
    : QObject(window), window_(window), onMoveEnded_(std::move(onMoveEnded)) {
  quiet_.setSingleShot(true);
  quiet_.setInterval(kMoveEndMs);
  connect(&quiet_, &QTimer::timeout, this, [this] {
    if (!MovedByUser() || lastReported_ == window_->pos()) return;
    lastReported_ = window_->pos();
    if (onMoveEnded_) onMoveEnded_();
  });
  window->installEventFilter(this);
}

bool DockMoveWatcher::MovedByUser() const {
  const QVariant placed = window_->property(kPlacedProperty);
  return !placed.isValid() || placed.toPoint() != window_->pos();
}

bool DockMoveWatcher::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window_ && event->type() == QEvent::Move && window_->isVisible() && MovedByUser()) quiet_.start();
  return QObject::eventFilter(watched, event);
}
