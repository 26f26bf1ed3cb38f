// The engine output window (View "引擎输出信息") and the shortcut help
// (Help "快捷键帮助").
#include "dialogs/accelerator_key_help_dlg.h"
#include "dialogs/mplayer_out_dlg.h"
#include "mainwindow/kinovue_dlg.h"

CMplayerOutDlg* CKinovueDlg::OutputWindow() const { return outputWindow_; }

void CKinovueDlg::ShowEngineOutput() {
  if (!outputWindow_) {
    outputWindow_ = new CMplayerOutDlg([this] { return engine_.get(); }, this);
    // Docking: this is where the output window is handed to the window dock,
    // once, attached below the main window and placed at once.
  }
  outputWindow_->Show();
  outputWindow_->show();
  outputWindow_->raise();
}

void CKinovueDlg::ShowKeyHelp() {
  // Owned by the main window, so a topmost main window does not cover it.
  CAcceleratorKeyHelpDlg dialog(engine_.get(), this);
  if (options_.runDialog)
    options_.runDialog(dialog);
  else
    dialog.exec();
}
