#include "controls/list_box_ex.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QScrollBar>

CListBoxEx::CListBoxEx(QWidget* parent) : QListWidget(parent) {
  setSortingEnabled(false);
  setUniformItemSizes(true);  // every row has the font's height; keeps long lists fast
  verticalScrollBar()->installEventFilter(this);
  horizontalScrollBar()->installEventFilter(this);
}

void CListBoxEx::InsertRow(int index, const QString& text) {
  insertItem(index, text);
  int width = QFontMetrics(font()).horizontalAdvance(text);
  const QScrollBar* bar = verticalScrollBar();
  if (count() >= 2 && bar->maximum() >= bar->pageStep()) width += style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  widestRow_ = std::max(widestRow_, width);
}

int CListBoxEx::RowAt(const QPoint& clientPos) const {
  if (count() == 0) return -1;  // no row to measure a height from
  const int rowHeight = visualItemRect(item(0)).height();
  const QModelIndex top = indexAt(QPoint(0, 0));
  const int firstVisible = top.isValid() ? top.row() : 0;
  if (rowHeight <= 0) return firstVisible;
  return firstVisible + clientPos.y() / rowHeight;
}

void CListBoxEx::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) pressedRow_ = RowAt(event->position().toPoint());
  QListWidget::mousePressEvent(event);
}

void CListBoxEx::mouseDoubleClickEvent(QMouseEvent* event) {
  QListWidget::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton) emit RowDoubleClicked(RowAt(event->position().toPoint()));
}

bool CListBoxEx::eventFilter(QObject* watched, QEvent* event) {
  if (watched == verticalScrollBar() || watched == horizontalScrollBar()) {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove:
        return true;  // the bars are not clickable; the wheel still scrolls
      default:
        break;
    }
  }
  return QListWidget::eventFilter(watched, event);
}
