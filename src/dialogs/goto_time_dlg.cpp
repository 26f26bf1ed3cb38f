#include "dialogs/goto_time_dlg.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

CGotoTimeDlg::CGotoTimeDlg(QWidget* parent) : TemplateDialog(parent, QStringLiteral("转到..."), 140, 59) {
  AddStatic(QStringLiteral("请键入被‘：’字符分割的整数。\n代表含义为：      时：分：秒。"), 10, 11, 122, 17);
  AddStatic(QStringLiteral("时间"), 11, 35);
  timeEdit_ = AddEdit(IDC_TIME, 38, 33, 64, 14, false);
  QPushButton* go = AddButton(IDC_GOTO, QStringLiteral("转到"), 101, 33, 31, 14);
  go->setFocusPolicy(Qt::ClickFocus);
  ok_ = AddButton(1, QStringLiteral("OK"), 0, 0, 50, 14);
  QPushButton* cancel = AddButton(2, QStringLiteral("Cancel"), 0, 0, 50, 14);
  ok_->setDefault(true);
  ok_->hide();
  cancel->hide();
  connect(ok_, &QPushButton::clicked, this, &CGotoTimeDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &CGotoTimeDlg::reject);
  connect(go, &QPushButton::clicked, this, &CGotoTimeDlg::accept);
}

void CGotoTimeDlg::OnInitDialog() {
  timeText = initialText;
  timeEdit_->setText(QString::fromStdString(timeText));
  timeEdit_->setFocus();  // the caret is placed once the dialog is visible (setVisible)
}

void CGotoTimeDlg::setVisible(bool visible) {
  const bool showing = visible && !isVisible();
  TemplateDialog::setVisible(visible);
  // Showing a dialog hands its focus widget a tab-reason focus event, on
  // which a line edit selects all; so the caret is put at the start (nothing
  // selected, start in view) only after it.
  if (showing) timeEdit_->setCursorPosition(0);
}

void CGotoTimeDlg::accept() {
  timeText = timeEdit_->text().toStdString();
  TemplateDialog::accept();
}

void CGotoTimeDlg::keyPressEvent(QKeyEvent* event) {
  // Qt presses only a visible default button on Enter; the OK button here
  // stays hidden, so Enter is routed to it by hand.
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  const bool plain = event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
  if (enter && plain) {
    ok_->click();
    return;
  }
  TemplateDialog::keyPressEvent(event);
}
