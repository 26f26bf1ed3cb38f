#pragma once
#include <string>
#include <vector>

#include "association/file_association.h"
#include "dialogs/dialog_template.h"

class QCheckBox;
class QRadioButton;

// "文件关联": one check box per media extension, all checked each time the
// dialog opens; "确定(&O)" associates the checked extensions and removes the
// others, then closes. "每次运行都检查" is written to the settings file the
// moment it is clicked. Enter does nothing; Esc and the close box close
// without applying. The result is always the cancel result.
class CFileAssociateDlg : public TemplateDialog {
  Q_OBJECT

 public:
  static constexpr int IDD = 172;
  static constexpr int IDC_OK = 1032;
  static constexpr int IDC_CHECK_EVERY_RUN = 1029;
  static constexpr int IDC_SELECT_ALL = 1034;
  static constexpr int IDC_CLEAR_ALL = 1035;

  CFileAssociateDlg(std::string settingsPath, const AssociationPlaces& places, QWidget* parent = nullptr);

  std::string settingsPath;
  bool checkEveryRun = true;
  int selectAllChoice = 0;                 // 0 "全部选择", 1 "全部取消"
  std::vector<QCheckBox*> extensionBoxes;  // in table order, children of the dialog

  int RegisterProgIds() { return association_.RegisterProgIds(); }
  bool AllAssociated() const { return association_.AllAssociated(); }
  // Associates every checked extension and removes the unchecked ones, then
  // announces the result to the desktop. Always 1.
  int Apply();

 protected:
  void OnInitDialog() override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateExtensionBoxes();
  void UpdateData(bool saveAndValidate);
  void CheckAll(bool checked);

  AssociationPlaces places_;
  FileAssociation association_;
  QCheckBox* checkEveryRunBox_;
  QRadioButton* selectAllRadio_;
  QRadioButton* clearAllRadio_;
};
