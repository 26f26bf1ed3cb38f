#pragma once
#include <QListWidget>
#include <QTimer>
#include <deque>

// The list box of the playlist window and the engine output window: rows
// inserted at explicit places (never sorted), the row under the last left
// press remembered, and a scroll bar that does not react to mouse clicks
// (the list still scrolls with the keyboard and the wheel).
class CListBoxEx : public QListWidget {
  Q_OBJECT

 public:
  explicit CListBoxEx(QWidget* parent = nullptr);

  // Inserts text as row index (at the end when index is the row count) and
  // widens the horizontal extent to the widest row seen. Measuring text is
  // the dear part of a long list, so rows are measured in batches while the
  // event loop is idle, and at once when the extent is read.
  void InsertRow(int index, const QString& text);

  // Makes row the one selected row and scrolls it into view once control
  // returns to the event loop, so that a long run of selections (a big
  // import selects every new row) scrolls the list once, not every time.
  void SelectRowLater(int row);

  // The row under a point of the list's client area: the first visible row
  // plus whole row heights down to the point. May lie past the last row;
  // -1 while the list is empty.
  int RowAt(const QPoint& clientPos) const;

  int PressedRow() const { return pressedRow_; }
  int WidestRow() const;
  // The width the rows may scroll over: the widest row plus 3 pixels.
  int HorizontalExtent() const { return WidestRow() + 3; }

 signals:
  // A left double click; row as RowAt gives it (possibly past the end).
  void RowDoubleClicked(int row);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Unmeasured {
    QString text;
    bool withScrollBar;  // the vertical scroll bar counted when it was inserted
  };
  // Measures up to most waiting rows into widestRow_.
  void Measure(std::size_t most) const;

  mutable int widestRow_ = 0;
  mutable std::deque<Unmeasured> unmeasured_;
  QTimer measureTimer_;
  int pressedRow_ = 0;
  bool scrollPending_ = false;
};
