#include "dialogs/play_url_dlg.h"

#include <QLineEdit>
#include <QPushButton>

CPlayUrlDlg::CPlayUrlDlg(QWidget* parent) : TemplateDialog(parent, QStringLiteral("播放URL"), 188, 62) {
  urlEdit_ = AddEdit(IDC_URL, 7, 14, 174, 14);
  QPushButton* ok = AddButton(1, QStringLiteral("确定"), 32, 41, 50, 14);
  QPushButton* cancel = AddButton(2, QStringLiteral("取消"), 111, 41, 50, 14);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &CPlayUrlDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &CPlayUrlDlg::reject);
}

void CPlayUrlDlg::OnInitDialog() { urlEdit_->setText(QString::fromStdString(url)); }

void CPlayUrlDlg::accept() {
  url = urlEdit_->text().toStdString();
  TemplateDialog::accept();
}
