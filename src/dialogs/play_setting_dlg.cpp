#include "dialogs/play_setting_dlg.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

CPlaySettingDlg::CPlaySettingDlg(std::int32_t storedKBytes, QWidget* parent)
    : TemplateDialog(parent, QStringLiteral("播放设置"), 161, 67), storedKBytes_(storedKBytes) {
  AddStatic(QStringLiteral("播放缓冲区："), 15, 21);
  cacheEdit_ = AddEdit(IDC_CACHE, 68, 19, 49, 14);
  AddStatic(QStringLiteral("KBytes"), 121, 21);
  QPushButton* ok = AddButton(1, QStringLiteral("确定(&O)"), 21, 46, 50, 14);
  QPushButton* cancel = AddButton(2, QStringLiteral("取消(&C)"), 89, 46, 50, 14);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &CPlaySettingDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &CPlaySettingDlg::reject);
}

void CPlaySettingDlg::OnInitDialog() {
  cacheKBytes = storedKBytes_;
  cacheEdit_->setText(QString::number(cacheKBytes));
}

void CPlaySettingDlg::accept() {
  static const QRegularExpression integer(QStringLiteral("^[+-]?[0-9]+$"));
  const QString text = cacheEdit_->text().trimmed();
  if (!integer.match(text).hasMatch()) {
    Prompt(QStringLiteral("请输入一个整数。"));
    return;
  }
  bool fits = false;
  const qlonglong value = text.toLongLong(&fits);  // too many digits: out of range too
  if (!fits || value < kMinCacheKBytes || value > kMaxCacheKBytes) {
    Prompt(QStringLiteral("请输入一个介于 %1 和 %2 之间的整数。").arg(kMinCacheKBytes).arg(kMaxCacheKBytes));
    return;
  }
  cacheKBytes = static_cast<std::int32_t>(value);
  TemplateDialog::accept();
}

void CPlaySettingDlg::Prompt(const QString& text) {
  if (showPrompt) {
    showPrompt(text);
  } else {
    QMessageBox::warning(this, QApplication::applicationDisplayName(), text);
  }
  // The user corrects the text in place, as after the classic range prompt.
  cacheEdit_->setFocus();
  cacheEdit_->selectAll();
}
