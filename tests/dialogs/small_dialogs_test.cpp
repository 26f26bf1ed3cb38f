#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <string>
#include <vector>

#include "dialogs/dialog_template.h"
#include "dialogs/goto_time_dlg.h"
#include "dialogs/play_setting_dlg.h"
#include "dialogs/play_url_dlg.h"
#include "widget_app.h"

namespace {

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override { testsupport::WidgetApp(); }
  static QLineEdit* Edit(const QWidget& dlg, int id) { return qobject_cast<QLineEdit*>(FindControl(&dlg, id)); }
  static void Click(const QWidget& dlg, int id) { qobject_cast<QPushButton*>(FindControl(&dlg, id))->click(); }
  static void Key(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
  }
  static void Type(QDialog& dlg, int id, const char* text) {
    if (!dlg.isVisible()) dlg.show();
    Edit(dlg, id)->setText(QString::fromUtf8(text));
  }
};

TEST_F(DialogTest, LayoutsInDialogUnitsOfACjkFont) {
  const DialogUnits rounding(7, 15);
  EXPECT_EQ(rounding.Rect(7, 14, 2, 62), QRect(12, 26, 4, 116));  // 12.25, 26.25, 3.5, 116.25

  CPlayUrlDlg url;
  CPlaySettingDlg setting(0);
  CGotoTimeDlg go;
  const DialogUnits units(DialogFont());
  EXPECT_EQ(url.size(), units.Size(188, 62));
  EXPECT_EQ(setting.size(), units.Size(161, 67));
  EXPECT_EQ(go.size(), units.Size(140, 59));
  EXPECT_EQ(go.windowTitle(), QStringLiteral("转到..."));
  for (const QDialog* dlg : std::vector<const QDialog*>{&url, &setting, &go}) {
    for (const QWidget* control : dlg->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
      EXPECT_TRUE(control->isHidden() || dlg->rect().contains(control->geometry()));
    }
  }
  EXPECT_EQ(FindControl(&go, 1040)->property("controlId").toInt(), 1040);
  EXPECT_TRUE(FindControl(&go, 1)->isHidden() && FindControl(&go, 2)->isHidden());
  if (!QFontDatabase::families(QFontDatabase::SimplifiedChinese).isEmpty()) {
    const QString family = QFontInfo(go.font()).family();
    EXPECT_TRUE(QFontDatabase::writingSystems(family).contains(QFontDatabase::SimplifiedChinese)) << family.toStdString();
  }
}

TEST_F(DialogTest, AddressDialogGivesWhatWasTypedOnOkOnly) {
  CPlayUrlDlg typed;
  Type(typed, 1025, "http://host/电影.rmvb");
  Click(typed, 1);
  EXPECT_EQ(typed.result(), QDialog::Accepted);
  EXPECT_EQ(typed.url, "http://host/电影.rmvb");

  CPlayUrlDlg empty;
  empty.url = "left over";
  Type(empty, 1025, "");
  Key(Edit(empty, 1025), Qt::Key_Return);  // Enter presses the default OK
  EXPECT_EQ(empty.result(), QDialog::Accepted);
  EXPECT_EQ(empty.url, "");

  CPlayUrlDlg cancelled;
  Type(cancelled, 1025, "rtsp://x");
  Key(Edit(cancelled, 1025), Qt::Key_Escape);
  EXPECT_FALSE(cancelled.isVisible());
  EXPECT_EQ(cancelled.url, "");
}

TEST_F(DialogTest, PlaySettingsStartsFromPlayCacheAndPromptsUntilInRange) {
  CPlaySettingDlg dlg(8192);
  std::vector<QString> prompts;
  dlg.showPrompt = [&](const QString& text) { prompts.push_back(text); };
  dlg.show();
  EXPECT_EQ(Edit(dlg, 1033)->text(), QStringLiteral("8192"));
  for (const char* bad : {"1024001", "-1", "99999999999999999999", "12k", ""}) {
    Type(dlg, 1033, bad);
    Click(dlg, 1);
    const bool number = bad[0] != '\0' && std::string(bad) != "12k";
    EXPECT_EQ(prompts.back(), number ? QStringLiteral("请输入一个介于 0 和 1024000 之间的整数。")
                                     : QStringLiteral("请输入一个整数。"));
    EXPECT_TRUE(dlg.isVisible()) << bad;
    EXPECT_EQ(Edit(dlg, 1033)->selectedText(), QString::fromLatin1(bad));  // ready to be typed over
  }
  EXPECT_EQ(prompts.size(), 5u);
  EXPECT_EQ(dlg.cacheKBytes, 8192);
  Type(dlg, 1033, " 0 ");
  Click(dlg, 1);
  EXPECT_EQ(prompts.size(), 5u);
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(dlg.cacheKBytes, 0);

  CPlaySettingDlg missing(0);  // nothing stored
  missing.cacheKBytes = 77;
  Type(missing, 1033, "1024000");
  EXPECT_EQ(missing.cacheKBytes, 0);  // nothing stored
  Key(Edit(missing, 1033), Qt::Key_Enter);
  EXPECT_EQ(missing.cacheKBytes, 1024000);
}

TEST_F(DialogTest, GoToOpensWithTheCaretAtTheStartAndEscCancels) {
  CGotoTimeDlg dlg;
  dlg.initialText = "01:02:05";
  dlg.show();
  QLineEdit* edit = Edit(dlg, 1040);
  EXPECT_EQ(edit->text(), QStringLiteral("01:02:05"));
  EXPECT_EQ(edit->cursorPosition(), 0);
  EXPECT_FALSE(edit->hasSelectedText());
  EXPECT_EQ(dlg.focusWidget(), edit);
  Key(edit, Qt::Key_Escape);
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

TEST_F(DialogTest, GoToAcceptsTheTypedTextByEnterAndByTheGoButton) {
  CGotoTimeDlg byEnter;
  CGotoTimeDlg byButton;
  Type(byEnter, 1040, "00:61:00");
  Type(byButton, 1040, "00:61:00");
  Key(Edit(byEnter, 1040), Qt::Key_Return);
  Click(byButton, 1023);
  for (const CGotoTimeDlg* dlg : {&byEnter, &byButton}) {
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(dlg->timeText, "00:61:00");
  }
}

}  // namespace
