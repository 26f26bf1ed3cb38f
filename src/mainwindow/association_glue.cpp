// The file-association dialog as the main window opens it: at start-up
// when the setting asks for the check, and from the tools menu.
#include "dialogs/file_associate_dlg.h"
#include "mainwindow/kinovue_dlg.h"

namespace {

int RunModal(const KinovueOptions& options, QDialog& dialog) {
  return options.runDialog ? options.runDialog(dialog) : dialog.exec();
}

// The dialog writes its check box straight to the settings file.
void RereadCheckSetting(const IniFile& file, MainSettings& settings) {
  ReadMainSetting(file, &MainSettings::CheckFileAssociate, settings.CheckFileAssociate);
}

}  // namespace

void CKinovueDlg::CheckFileAssociation() {
  if (!settings_.CheckFileAssociate) return;
  CFileAssociateDlg dialog(settingsPath_, options_.association, this);
  dialog.RegisterProgIds();
  if (dialog.AllAssociated()) return;
  RunModal(options_, dialog);
  RereadCheckSetting(settingsFile_, settings_);
}

void CKinovueDlg::ShowFileAssociation() {
  CFileAssociateDlg dialog(settingsPath_, options_.association, this);
  RunModal(options_, dialog);
  RereadCheckSetting(settingsFile_, settings_);
}
