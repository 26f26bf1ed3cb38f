#include "controls/list_box_ex.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QScrollBar>
#include <QWheelEvent>

#include "widget_test_support.h"

namespace {

using controls_test::SendMouse;

QStringList Rows(const CListBoxEx& list) {
  QStringList rows;
  for (int i = 0; i < list.count(); ++i) rows << list.item(i)->text();
  return rows;
}

TEST(CListBoxEx, RowsGoWhereTheyAreInsertedAndTheExtentFollowsTheWidestEver) {
  testsupport::WidgetApp();
  CListBoxEx list;
  EXPECT_EQ(list.RowAt(QPoint(3, 3)), -1);  // no row to measure
  const QString wide = "一个很长很长的文件名称.mkv";
  list.InsertRow(0, "b.avi");
  list.InsertRow(0, "c.avi");
  list.InsertRow(1, wide);
  list.InsertRow(3, "a.avi");
  EXPECT_EQ(Rows(list), (QStringList{"c.avi", wide, "b.avi", "a.avi"}));
  const int widest = QFontMetrics(list.font()).horizontalAdvance(wide);
  EXPECT_EQ(list.WidestRow(), widest);
  EXPECT_EQ(list.HorizontalExtent(), widest + 3);
  delete list.takeItem(1);
  list.InsertRow(0, "d.avi");
  EXPECT_EQ(list.WidestRow(), widest);  // the widest seen, even once deleted
}

TEST(CListBoxEx, TheScrollBarIgnoresClicksButTheWheelScrolls) {
  testsupport::WidgetApp();
  CListBoxEx list;
  list.resize(200, 120);
  for (int i = 0; i < 100; ++i) list.InsertRow(i, QString::number(i));
  list.show();
  QScrollBar* bar = list.verticalScrollBar();
  ASSERT_GT(bar->maximum(), 0);
  const QPoint low(bar->width() / 2, bar->height() - 25);
  SendMouse(bar, QEvent::MouseButtonPress, low);
  SendMouse(bar, QEvent::MouseButtonRelease, low);
  EXPECT_EQ(bar->value(), 0);
  QWheelEvent wheel(QPointF(20, 20), QPointF(list.viewport()->mapToGlobal(QPoint(20, 20))), QPoint(), QPoint(0, -120),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(list.viewport(), &wheel);
  EXPECT_GT(bar->value(), 0);
}

}  // namespace
