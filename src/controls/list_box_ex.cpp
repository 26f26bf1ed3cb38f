#include "controls/list_box_ex.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>

namespace {

// Rows measured per turn of an idle event loop: a few milliseconds.
constexpr std::size_t kMeasureBatch = 2000;

}  // namespace

CListBoxEx::CListBoxEx(QWidget* parent) : QListWidget(parent) {
  setSortingEnabled(false);
  setUniformItemSizes(true);  // every row has the font's height; keeps long lists fast
  verticalScrollBar()->installEventFilter(this);
  horizontalScrollBar()->installEventFilter(this);
  measureTimer_.setSingleShot(true);
  measureTimer_.setInterval(0);
  connect(&measureTimer_, &QTimer::timeout, this, [this] {
    Measure(kMeasureBatch);
    if (!unmeasured_.empty()) measureTimer_.start();
  });
}

void CListBoxEx::InsertRow(int index, const QString& text) {
  insertItem(index, text);
  const QScrollBar* bar = verticalScrollBar();
  unmeasured_.push_back({text, count() >= 2 && bar->maximum() >= bar->pageStep()});
  if (!measureTimer_.isActive()) measureTimer_.start();
}

void CListBoxEx::Measure(std::size_t most) const {
  if (unmeasured_.empty()) return;
  const QFontMetrics metrics(font());
  const int scrollBarWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  for (; most > 0 && !unmeasured_.empty(); --most) {
    const Unmeasured& row = unmeasured_.front();
    widestRow_ = std::max(widestRow_, metrics.horizontalAdvance(row.text) + (row.withScrollBar ? scrollBarWidth : 0));
    unmeasured_.pop_front();
  }
}

int CListBoxEx::WidestRow() const {
  Measure(unmeasured_.size());
  return widestRow_;
}

void CListBoxEx::SelectRowLater(int row) {
  setAutoScroll(false);
  setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
  setAutoScroll(true);
  if (scrollPending_) return;
  scrollPending_ = true;
  QTimer::singleShot(0, this, [this] {
    scrollPending_ = false;
    if (QListWidgetItem* current = currentItem()) scrollToItem(current);
  });
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
