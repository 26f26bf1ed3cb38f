#include "dialogs/about_dlg.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "app/version.h"
#include "dialogs/dialog_template.h"
#include "widget_app.h"

namespace {


QWidget* ById(QWidget& dialog, int id) {
  for (QWidget* child : dialog.findChildren<QWidget*>()) {
    if (child->property("controlId").toInt() == id) return child;
  }
  return nullptr;
}

QString TextOf(QWidget* control) {
  if (auto* label = qobject_cast<QLabel*>(control)) return label->text();
  if (auto* button = qobject_cast<QPushButton*>(control)) return button->text();
  return "<none>";
}

TEST(AboutBox, ShowsItsTextsInControlsLaidOutInDialogUnitsOfItsFont) {
  testsupport::WidgetApp();
  CAboutDlg dialog(app::kProgramVersion);
  EXPECT_EQ(dialog.windowTitle(), "关于 Kinovue");
  EXPECT_EQ(TextOf(ById(dialog, CAboutDlg::IDC_VERSION_LABEL)), "主程序版本:");
  EXPECT_EQ(TextOf(ById(dialog, CAboutDlg::IDC_VERSION)), "1.0.1008");
  EXPECT_EQ(TextOf(ById(dialog, CAboutDlg::IDC_DESCRIPTION)), QString::fromStdString(dialog.description));
  auto* ok = qobject_cast<QPushButton*>(ById(dialog, CAboutDlg::IDOK));
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->text(), "确定");
  EXPECT_TRUE(ok->isDefault());
  auto* icon = dialog.findChild<QLabel*>("programIcon");
  ASSERT_NE(icon, nullptr);
  EXPECT_FALSE(icon->pixmap().isNull());

  // Laid out in dialog units of its own font, every text fitting its control.
  EXPECT_EQ(dialog.font().pointSize(), 9);
  // With any CJK font installed, that is what the dialog gets.
  const QStringList cjk = {"SimSun", "WenQuanYi Micro Hei", "Noto Sans CJK SC", "Droid Sans Fallback"};
  const bool anyInstalled = std::any_of(cjk.begin(), cjk.end(), QFontDatabase::hasFamily);
  const QString family = QFontInfo(dialog.font()).family();
  if (anyInstalled) {
    EXPECT_TRUE(cjk.contains(family)) << family.toStdString();
  }

  const DialogUnits units(dialog.font());
  ASSERT_GT(units.BaseX(), 0);
  EXPECT_EQ(dialog.size(), units.Size(235, 55));
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());  // a modal frame does not resize
  EXPECT_EQ(ById(dialog, CAboutDlg::IDC_VERSION)->geometry(), units.Rect(86, 16, 63, 8));
  EXPECT_EQ(ById(dialog, CAboutDlg::IDC_DESCRIPTION)->geometry(), units.Rect(36, 31, 175, 8));
  EXPECT_EQ(ById(dialog, CAboutDlg::IDOK)->geometry(), units.Rect(178, 32, 50, 16));

  for (int id : {CAboutDlg::IDC_VERSION_LABEL, CAboutDlg::IDC_VERSION, CAboutDlg::IDC_DESCRIPTION, CAboutDlg::IDOK}) {
    QWidget* control = ById(dialog, id);
    EXPECT_TRUE(dialog.rect().contains(control->geometry())) << id;
    EXPECT_LE(control->fontMetrics().horizontalAdvance(TextOf(control)), control->width()) << id;
  }
  EXPECT_FALSE(ById(dialog, CAboutDlg::IDC_VERSION_LABEL)->geometry().intersects(
      ById(dialog, CAboutDlg::IDC_VERSION)->geometry()));

  QTimer::singleShot(0, ok, &QPushButton::click);
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
}

}  // namespace
