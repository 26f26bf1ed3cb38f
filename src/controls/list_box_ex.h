#pragma once
#include <QListWidget>

// The list box of the playlist window and the engine output window: rows
// inserted at explicit places (never sorted), the row under the last left
// press remembered, and a scroll bar that does not react to mouse clicks
// (the list still scrolls with the keyboard and the wheel).
class CListBoxEx : public QListWidget {
  Q_OBJECT

 public:
  explicit CListBoxEx(QWidget* parent = nullptr);

  // Inserts text as row index (at the end when index is the row count) and
  // widens the horizontal extent to the widest row seen.
  void InsertRow(int index, const QString& text);

  // The row under a point of the list's client area: the first visible row
  // plus whole row heights down to the point. May lie past the last row;
  // -1 while the list is empty.
  int RowAt(const QPoint& clientPos) const;

  int PressedRow() const { return pressedRow_; }
  int WidestRow() const { return widestRow_; }
  // The width the rows may scroll over: the widest row plus 3 pixels.
  int HorizontalExtent() const { return widestRow_ + 3; }

 signals:
  // A left double click; row as RowAt gives it (possibly past the end).
  void RowDoubleClicked(int row);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int widestRow_ = 0;
  int pressedRow_ = 0;
};
