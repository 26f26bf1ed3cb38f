#pragma once
#include <QFileDialog>
#include <string>

// The open-file dialog: one existing file. Qt shows a name that is not UTF-8
// (GBK from old discs) with replacement characters and would refuse it as
// missing; such a name is found again by its shown form and taken.
class COpenFileDlg : public QFileDialog {
  Q_OBJECT

 public:
  explicit COpenFileDlg(QWidget* parent = nullptr);

  // The chosen file's bytes; empty when nothing is selected.
  std::string SelectedPath() const;

  void accept() override;
};
