#include "dialogs/accelerator_key_help_dlg.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QListWidget>

QFont KeyHelpFont() {
  static const QString family = [] {
    const QStringList installed = QFontDatabase::families();
    for (const char* name : {"NSimSun", "新宋体", "WenQuanYi Zen Hei Mono", "WenQuanYi Micro Hei Mono",
                             "Noto Sans Mono CJK SC", "Sarasa Mono SC"}) {
      if (installed.contains(QString::fromUtf8(name), Qt::CaseInsensitive)) return QString::fromUtf8(name);
    }
    return QString();
  }();
  QFont font = family.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : QFont(family);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPointSize(9);
  return font;
}

CAcceleratorKeyHelpDlg::CAcceleratorKeyHelpDlg(CPlayerEngine* engine, QWidget* parent)
    : TemplateDialog(parent, QStringLiteral("快捷键帮助"), 242, 226), engine_(engine) {
  keyList_ = new QListWidget(this);
  SetControlId(keyList_, IDC_KEY_LIST);
  keyList_->setGeometry(Units().Rect(7, 7, 228, 212));
  keyList_->setFont(KeyHelpFont());
  keyList_->setSelectionMode(QAbstractItemView::NoSelection);
  keyList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  keyList_->setSortingEnabled(false);
}

void CAcceleratorKeyHelpDlg::keyPressEvent(QKeyEvent* event) {
  // The dialog has no visible default button for Qt to press on Enter.
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier)) {
    accept();
    return;
  }
  TemplateDialog::keyPressEvent(event);
}

void CAcceleratorKeyHelpDlg::OnInitDialog() {
  keyList_->clear();
  if (!engine_) return;
  engine_->EnumKeyHelp(reinterpret_cast<std::intptr_t>(keyList_), [](std::intptr_t context, const char* line) {
    if (line && *line) reinterpret_cast<QListWidget*>(context)->addItem(QString::fromUtf8(line));
  });
}
