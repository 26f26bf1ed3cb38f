#include "dialogs/open_file_dlg.h"

#include <filesystem>
#include <system_error>

#include "platform/file_name.h"

COpenFileDlg::COpenFileDlg(QWidget* parent) : QFileDialog(parent) { setFileMode(QFileDialog::ExistingFile); }

std::string COpenFileDlg::SelectedPath() const {
  const QStringList files = selectedFiles();
  return files.isEmpty() ? std::string() : platform::FileNameFromQt(files.first());
}

void COpenFileDlg::accept() {
  const QStringList files = selectedFiles();
  if (files.size() == 1 && files.first().contains(QChar::ReplacementCharacter)) {
    std::error_code error;
    if (std::filesystem::is_regular_file(std::filesystem::path(SelectedPath()), error)) {
      QDialog::accept();
      return;
    }
  }
  QFileDialog::accept();
}
