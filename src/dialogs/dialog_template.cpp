#include "dialogs/dialog_template.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <cmath>

QFont DialogFont() {
  static const QString family = [] {
    const QStringList installed = QFontDatabase::families();
    for (const char* name : {"SimSun", "宋体", "NSimSun", "WenQuanYi Micro Hei", "Noto Sans CJK SC",
                             "Source Han Sans SC", "Noto Serif CJK SC", "Droid Sans Fallback", "AR PL UMing CN"}) {
      if (installed.contains(QString::fromUtf8(name), Qt::CaseInsensitive)) return QString::fromUtf8(name);
    }
    const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    return chinese.isEmpty() ? QString() : chinese.first();
  }();
  QFont font = family.isEmpty() ? QApplication::font() : QFont(family);
  font.setPointSize(9);
  return font;
}

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  const int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  baseX_ = (letters / 26 + 1) / 2;
  baseY_ = metrics.height();
}

int DialogUnits::X(int units) const { return static_cast<int>(std::lround(units * baseX_ / 4.0)); }
int DialogUnits::Y(int units) const { return static_cast<int>(std::lround(units * baseY_ / 8.0)); }

void SetControlId(QWidget* control, int id) {
  control->setObjectName(QStringLiteral("id%1").arg(id));
  control->setProperty("controlId", id);
}

QWidget* FindControl(const QWidget* dialog, int id) {
  return dialog->findChild<QWidget*>(QStringLiteral("id%1").arg(id));
}

TemplateDialog::TemplateDialog(QWidget* parent, const QString& title, int width, int height)
    : QDialog(parent), units_(DialogFont()) {
  setFont(DialogFont());
  setWindowTitle(title);
  setFixedSize(units_.Size(width, height));
}

QLabel* TemplateDialog::AddStatic(const QString& text, int x, int y) {
  auto* label = new QLabel(text, this);
  label->move(units_.X(x), units_.Y(y));
  label->adjustSize();
  return label;
}

QLabel* TemplateDialog::AddStatic(const QString& text, int x, int y, int width, int height) {
  auto* label = new QLabel(text, this);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setGeometry(units_.Rect(x, y, width, height));
  return label;
}

QLineEdit* TemplateDialog::AddEdit(int id, int x, int y, int width, int height, bool tabStop) {
  auto* edit = new QLineEdit(this);
  SetControlId(edit, id);
  edit->setGeometry(units_.Rect(x, y, width, height));
  if (!tabStop) edit->setFocusPolicy(Qt::ClickFocus);
  return edit;
}

QPushButton* TemplateDialog::AddButton(int id, const QString& text, int x, int y, int width, int height) {
  auto* button = new QPushButton(text, this);
  SetControlId(button, id);
  button->setGeometry(units_.Rect(x, y, width, height));
  return button;
}

void TemplateDialog::showEvent(QShowEvent* event) {
  // Restoring a minimised dialog is spontaneous and must not reset its fields.
  if (!event->spontaneous()) OnInitDialog();
  QDialog::showEvent(event);
}
