#pragma once
#include <functional>
#include <string>

#include "update/update_coordinator.h"

class QDialog;
class QWidget;

// The update's messages and restart question as topmost message boxes.
class UpdatePromptBoxes : public UpdatePrompts {
 public:
  // runDialog shows a modal dialog (tests answer it); exec() when empty.
  UpdatePromptBoxes(QWidget* window, std::function<int(QDialog&)> runDialog);

  void ShowMessage(const std::string& text, const std::string& caption, bool ownedByWindow) override;
  bool AskRestartNow() override;

 private:
  QWidget* window_;
  std::function<int(QDialog&)> runDialog_;
};
