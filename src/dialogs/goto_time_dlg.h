#pragma once
#include <string>

#include "dialogs/dialog_template.h"

class QKeyEvent;
class QLineEdit;
class QPushButton;

// "转到...": a time to jump to, as text. The caller sets initialText (the
// current position, FormatGoToTime) before showing it and parses timeText
// after OK. Enter, the hidden OK button and "转到" all accept; Esc cancels.
class CGotoTimeDlg : public TemplateDialog {
  Q_OBJECT

 public:
  static constexpr int IDD = 184;
  static constexpr int IDC_TIME = 1040;
  static constexpr int IDC_GOTO = 1023;

  explicit CGotoTimeDlg(QWidget* parent = nullptr);

  std::string timeText;     // UTF-8, taken from the edit on OK
  std::string initialText;  // shown when the dialog opens, caret at the start

  void accept() override;
  void setVisible(bool visible) override;

 protected:
  void OnInitDialog() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QLineEdit* timeEdit_;
  QPushButton* ok_;
};
