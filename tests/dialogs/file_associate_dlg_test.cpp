// "文件关联" offscreen, against a temporary registry file and desktop home.
#include "dialogs/file_associate_dlg.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>

#include "association/media_extensions.h"
#include "settings/ini_file.h"
#include "temp_dir.h"
#include "widget_app.h"

namespace {

class FileAssociateDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::WidgetApp();
    places.configHome = home.File("config");
    places.dataHome = home.File("data");
    places.executablePath = "/opt/kv/kinovue";
    places.updateTool = "/nonexistent/update-desktop-database";
    dlg = std::make_unique<CFileAssociateDlg>(settings, places);
    dlg->show();
  }
  void Click(int id) { qobject_cast<QAbstractButton*>(FindControl(dlg.get(), id))->click(); }
  void Key(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
  }
  int Checked() {
    int n = 0;
    for (QCheckBox* box : dlg->extensionBoxes) n += box->isChecked();
    return n;
  }
  int Associated() {
    FileAssociation assoc(places);
    int n = 0;
    for (const MediaExtension& e : kMediaExtensionTable) n += assoc.IsAssociated(e.extension, e.type);
    return n;
  }

  testsupport::TempDir home;
  std::string settings = home.File("kinovue.ini");
  AssociationPlaces places;
  std::unique_ptr<CFileAssociateDlg> dlg;
};

TEST_F(FileAssociateDialog, OpensWithEveryBoxCheckedInTheGridAndTheTypesRegistered) {
  EXPECT_EQ(dlg->windowTitle(), QStringLiteral("文件关联"));
  EXPECT_EQ(dlg->size(), DialogUnits(DialogFont()).Size(235, 271));
  ASSERT_EQ(dlg->extensionBoxes.size(), 55u);
  EXPECT_EQ(Checked(), 55);
  const int w = dlg->width() / 4;
  const struct {
    int index;
    const char* text;
    QRect rect;
  } rows[] = {{0, ".3g2", {10, 10, w, 18}}, {5, ".ac3", {w + 10, 32, w, 18}}, {54, ".wmv", {2 * w + 10, 296, w, 18}}};
  for (const auto& row : rows) {
    EXPECT_EQ(dlg->extensionBoxes[row.index]->text(), row.text);
    EXPECT_EQ(dlg->extensionBoxes[row.index]->geometry(), row.rect) << row.text;
  }
  EXPECT_TRUE(qobject_cast<QCheckBox*>(FindControl(dlg.get(), CFileAssociateDlg::IDC_CHECK_EVERY_RUN))->isChecked());
  EXPECT_TRUE(qobject_cast<QRadioButton*>(FindControl(dlg.get(), CFileAssociateDlg::IDC_SELECT_ALL))->isChecked());
  EXPECT_TRUE(platform::Registry(platform::Registry::ClassesPath(places.configHome)).KeyExists("kinovue_1\\shell\\open\\command"));
}

TEST_F(FileAssociateDialog, ConfirmAssociatesTheCheckedAndClearAllThenConfirmRemovesEverything) {
  Click(CFileAssociateDlg::IDC_OK);
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(dlg->result(), QDialog::Rejected);
  EXPECT_EQ(Associated(), 55);

  dlg->show();
  EXPECT_EQ(Checked(), 55);
  Click(CFileAssociateDlg::IDC_CLEAR_ALL);
  EXPECT_EQ(Checked(), 0);
  Click(CFileAssociateDlg::IDC_SELECT_ALL);
  EXPECT_EQ(Checked(), 55);
  Click(CFileAssociateDlg::IDC_CLEAR_ALL);
  dlg->extensionBoxes[9]->setChecked(true);  // .avi
  Click(CFileAssociateDlg::IDC_OK);
  EXPECT_EQ(Associated(), 1);
  EXPECT_TRUE(FileAssociation(places).IsAssociated(".avi", 0));
}

TEST_F(FileAssociateDialog, TheCheckBoxIsWrittenAtOnceWhileEnterAndEscApplyNothing) {
  Click(CFileAssociateDlg::IDC_CHECK_EVERY_RUN);
  bool every = true;
  EXPECT_TRUE(IniFile(settings).ReadBool("kinovue", "CheckFileAssociate", every));
  EXPECT_FALSE(every);
  for (QWidget* target : {static_cast<QWidget*>(dlg.get()), FindControl(dlg.get(), CFileAssociateDlg::IDC_OK),
                          static_cast<QWidget*>(dlg->extensionBoxes[0])}) {
    Key(target, Qt::Key_Return);
    Key(target, Qt::Key_Enter);
    EXPECT_TRUE(dlg->isVisible());
  }
  Key(dlg.get(), Qt::Key_Escape);
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(Associated(), 0);
  dlg->show();  // opens with the stored choice
  EXPECT_FALSE(qobject_cast<QCheckBox*>(FindControl(dlg.get(), CFileAssociateDlg::IDC_CHECK_EVERY_RUN))->isChecked());
}

}  // namespace
