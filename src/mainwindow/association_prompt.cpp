#include "mainwindow/association_prompt.h"

#include <utility>

#include "dialogs/file_associate_dlg.h"
#include "mainwindow/main_settings.h"

AssociationPrompt::AssociationPrompt(QWidget* window, AssociationPlaces places,
                                     std::function<int(QDialog&)> runDialog, IniFile& settingsFile,
                                     MainSettings& settings)
    : window_(window),
      places_(std::move(places)),
      runDialog_(std::move(runDialog)),
      settingsFile_(settingsFile),
      settings_(settings) {}

void AssociationPrompt::CheckAtStart() {
  if (!settings_.CheckFileAssociate) return;
  CFileAssociateDlg dialog(settingsFile_.Path(), places_, window_);
  dialog.RegisterProgIds();
  if (dialog.AllAssociated()) return;
  Run(dialog);
  RereadCheckSetting();
}

void AssociationPrompt::Show() {
  CFileAssociateDlg dialog(settingsFile_.Path(), places_, window_);
  Run(dialog);
  RereadCheckSetting();
}

int AssociationPrompt::Run(QDialog& dialog) const { return runDialog_ ? runDialog_(dialog) : dialog.exec(); }

void AssociationPrompt::RereadCheckSetting() {
  ReadMainSetting(settingsFile_, &MainSettings::CheckFileAssociate, settings_.CheckFileAssociate);
}
