#include "mainwindow/update_prompts.h"

#include <QMessageBox>
#include <utility>

#include "update/update_result.h"

namespace {

int ShowBox(const std::function<int(QDialog&)>& runDialog, QWidget* parent, QMessageBox::Icon icon,
            const std::string& text, const std::string& caption, QMessageBox::StandardButtons buttons) {
  QMessageBox box(icon, QString::fromStdString(caption), QString::fromStdString(text), buttons, parent);
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  return runDialog ? runDialog(box) : box.exec();
}

}  // namespace

UpdatePromptBoxes::UpdatePromptBoxes(QWidget* window, std::function<int(QDialog&)> runDialog)
    : window_(window), runDialog_(std::move(runDialog)) {}

void UpdatePromptBoxes::ShowMessage(const std::string& text, const std::string& caption, bool ownedByWindow) {
  ShowBox(runDialog_, ownedByWindow ? window_ : nullptr, QMessageBox::Information, text, caption, QMessageBox::Ok);
}

bool UpdatePromptBoxes::AskRestartNow() {
  return ShowBox(runDialog_, window_, QMessageBox::Question, kRestartQuestion, kRestartCaption,
                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}
