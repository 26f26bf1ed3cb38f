#pragma once
#include <QDialog>
#include <string>

// The About box: program icon, version and a line about the program, with
// one "确定" button. Modal, fixed size, laid out from its template in dialog
// units of its own font. Each control carries its id in the "controlId"
// property.
class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  enum : int {
    IDOK = 1,
    IDC_VERSION = 1027,        // the version text
    IDC_DESCRIPTION = 1028,    // the line about the program
    IDC_VERSION_LABEL = 1029,  // "主程序版本:"
  };

  // programVersion: the text shown after "主程序版本:" (the program's own
  // version, which the application shell knows).
  explicit CAboutDlg(std::string programVersion, QWidget* parent = nullptr);

  // Filled by the constructor, shown by the controls.
  const std::string version;
  const std::string description;
};
