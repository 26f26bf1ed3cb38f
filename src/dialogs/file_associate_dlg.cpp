#include "dialogs/file_associate_dlg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>

#include "association/desktop_publication.h"
#include "association/media_extensions.h"
#include "settings/ini_file.h"

namespace {

constexpr const char* kMainSection = "kinovue";

bool IsEnter(const QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<const QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

CFileAssociateDlg::CFileAssociateDlg(std::string path, const AssociationPlaces& places, QWidget* parent)
    : TemplateDialog(parent, QStringLiteral("文件关联"), 235, 271),
      settingsPath(std::move(path)),
      places_(places.Resolved()),
      association_(places_) {
  QPushButton* ok = AddButton(IDC_OK, QStringLiteral("确定(&O)"), 165, 248, 50, 14);
  ok->setDefault(true);
  ok->installEventFilter(this);
  connect(ok, &QPushButton::clicked, this, [this] {
    Apply();
    reject();
  });

  checkEveryRunBox_ = new QCheckBox(QStringLiteral("每次运行都检查"), this);
  SetControlId(checkEveryRunBox_, IDC_CHECK_EVERY_RUN);
  checkEveryRunBox_->setGeometry(Units().Rect(7, 227, 69, 10));
  connect(checkEveryRunBox_, &QCheckBox::clicked, this, [this] {
    UpdateData(true);
    IniFile(settingsPath).WriteBool(kMainSection, "CheckFileAssociate", checkEveryRun);
  });

  auto* group = new QGroupBox(this);
  group->setGeometry(Units().Rect(7, 239, 118, 23));
  selectAllRadio_ = new QRadioButton(QStringLiteral("全部选择"), this);
  SetControlId(selectAllRadio_, IDC_SELECT_ALL);
  selectAllRadio_->setGeometry(Units().Rect(13, 247, 48, 10));
  clearAllRadio_ = new QRadioButton(QStringLiteral("全部取消"), this);
  SetControlId(clearAllRadio_, IDC_CLEAR_ALL);
  clearAllRadio_->setGeometry(Units().Rect(71, 246, 48, 10));
  connect(selectAllRadio_, &QRadioButton::clicked, this, [this] { CheckAll(true); });
  connect(clearAllRadio_, &QRadioButton::clicked, this, [this] { CheckAll(false); });
}

void CFileAssociateDlg::OnInitDialog() {
  bool stored = true;
  checkEveryRun = IniFile(settingsPath).ReadBool(kMainSection, "CheckFileAssociate", stored) ? stored : true;
  RegisterProgIds();
  CreateExtensionBoxes();
  UpdateData(false);
}

void CFileAssociateDlg::CreateExtensionBoxes() {
  for (QCheckBox* box : extensionBoxes) delete box;
  extensionBoxes.clear();
  const int columnWidth = width() / 4;
  for (std::size_t i = 0; i < kMediaExtensionTable.size(); ++i) {
    auto* box = new QCheckBox(QString::fromUtf8(kMediaExtensionTable[i].extension), this);
    const int column = static_cast<int>(i % 4);
    const int row = static_cast<int>(i / 4);
    box->setGeometry(columnWidth * column + 10, 22 * row + 10, columnWidth, 18);
    box->setChecked(true);
    box->show();
    extensionBoxes.push_back(box);
  }
}

void CFileAssociateDlg::UpdateData(bool saveAndValidate) {
  if (saveAndValidate) {
    checkEveryRun = checkEveryRunBox_->isChecked();
    selectAllChoice = selectAllRadio_->isChecked() ? 0 : clearAllRadio_->isChecked() ? 1 : -1;
    return;
  }
  checkEveryRunBox_->setChecked(checkEveryRun);
  selectAllRadio_->setChecked(selectAllChoice == 0);
  clearAllRadio_->setChecked(selectAllChoice == 1);
}

void CFileAssociateDlg::CheckAll(bool checked) {
  for (QCheckBox* box : extensionBoxes) box->setChecked(checked);
}

int CFileAssociateDlg::Apply() {
  UpdateData(true);
  for (std::size_t i = 0; i < kMediaExtensionTable.size() && i < extensionBoxes.size(); ++i) {
    const MediaExtension& entry = kMediaExtensionTable[i];
    if (extensionBoxes[i]->isChecked()) {
      association_.Associate(entry.extension, entry.type);
    } else {
      association_.Unassociate(entry.extension);
    }
  }
  DesktopPublication(places_).Publish(association_);
  return 1;
}

void CFileAssociateDlg::keyPressEvent(QKeyEvent* event) {
  if (IsEnter(event)) return;  // the classic dialog's OK key does nothing here
  TemplateDialog::keyPressEvent(event);
}

bool CFileAssociateDlg::eventFilter(QObject* watched, QEvent* event) {
  // The focused default button would take Enter as a click.
  if (IsEnter(event)) return true;
  return TemplateDialog::eventFilter(watched, event);
}
