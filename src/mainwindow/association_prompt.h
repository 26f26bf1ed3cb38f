#pragma once
#include <functional>

#include "association/file_association.h"

class IniFile;
class QDialog;
class QWidget;
struct MainSettings;

// The file-association dialog as the main window opens it: at start-up when
// the setting asks for the check, and from the tools menu. The dialog writes
// its "check every run" box straight to the settings file; the window's copy
// of that setting is read back after it closes.
class AssociationPrompt {
 public:
  // runDialog shows a modal dialog (tests answer it); exec() when empty.
  AssociationPrompt(QWidget* window, AssociationPlaces places, std::function<int(QDialog&)> runDialog,
                    IniFile& settingsFile, MainSettings& settings);

  // The dialog only when the setting asks and some file type is not ours.
  void CheckAtStart();
  void Show();

 private:
  int Run(QDialog& dialog) const;
  void RereadCheckSetting();

  QWidget* window_;
  AssociationPlaces places_;
  std::function<int(QDialog&)> runDialog_;
  IniFile& settingsFile_;
  MainSettings& settings_;
};
