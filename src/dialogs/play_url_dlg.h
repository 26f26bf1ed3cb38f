#pragma once
#include <string>

#include "dialogs/dialog_template.h"

class QLineEdit;

// "播放URL": one line for a network address. On OK, url holds the text as
// typed (empty included); the caller decides what an empty text means.
class CPlayUrlDlg : public TemplateDialog {
  Q_OBJECT

 public:
  static constexpr int IDD = 142;
  static constexpr int IDC_URL = 1025;

  explicit CPlayUrlDlg(QWidget* parent = nullptr);

  std::string url;  // UTF-8, shown when the dialog opens, taken on OK

  void accept() override;

 protected:
  void OnInitDialog() override;

 private:
  QLineEdit* urlEdit_;
};
