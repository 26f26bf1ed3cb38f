#pragma once
#include <QDialog>
#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QShowEvent;

// Dialogs laid out in dialog units, as the classic dialog templates were:
// one horizontal unit is a quarter of the font's average character width,
// one vertical unit an eighth of its height.

// "SimSun" 9 pt when installed; otherwise the first installed of the usual
// Linux CJK families (WenQuanYi Micro Hei, Noto Sans CJK SC, ...), then any
// family that fontconfig reports for Simplified Chinese, then the
// application font, always at 9 pt.
QFont DialogFont();

class DialogUnits {
 public:
  // Average width as the classic dialog manager measured it: the advance of
  // "A".."Z" "a".."z" over 52, rounded; height = ascent + descent.
  explicit DialogUnits(const QFont& font);
  DialogUnits(int baseX, int baseY) : baseX_(baseX), baseY_(baseY) {}

  int BaseX() const { return baseX_; }
  int BaseY() const { return baseY_; }
  // Pixels, rounded to the nearest (halves away from zero).
  int X(int units) const;
  int Y(int units) const;
  QRect Rect(int x, int y, int width, int height) const { return {X(x), Y(y), X(width), Y(height)}; }
  QSize Size(int width, int height) const { return {X(width), Y(height)}; }

 private:
  int baseX_;
  int baseY_;
};

// A control's id is its object name "id<number>" and its property
// "controlId", so callers and tests find controls by their numbers.
void SetControlId(QWidget* control, int id);
QWidget* FindControl(const QWidget* dialog, int id);

// The base of the small dialogs: dialog font, title and fixed client size
// in dialog units; OnInitDialog runs each time the dialog is shown by the
// program (exec, open, show), before it becomes visible.
class TemplateDialog : public QDialog {
  Q_OBJECT

 protected:
  TemplateDialog(QWidget* parent, const QString& title, int width, int height);

  const DialogUnits& Units() const { return units_; }
  QLabel* AddStatic(const QString& text, int x, int y);
  QLabel* AddStatic(const QString& text, int x, int y, int width, int height);
  // Bordered, scrolling horizontally; a tab stop unless tabStop is false.
  QLineEdit* AddEdit(int id, int x, int y, int width, int height, bool tabStop = true);
  QPushButton* AddButton(int id, const QString& text, int x, int y, int width, int height);

  virtual void OnInitDialog() {}
  void showEvent(QShowEvent* event) override;

 private:
  DialogUnits units_;
};
