// The engine output window (View "引擎输出信息") and the shortcut help
// (Help "快捷键帮助").
#include "controls/widget_dock_windows.h"
#include "dialogs/accelerator_key_help_dlg.h"
#include "dialogs/mplayer_out_dlg.h"
#include "engine/engine_types.h"
#include "mainwindow/kinovue_dlg.h"

CMplayerOutDlg* CKinovueDlg::OutputWindow() const { return outputWindow_; }

void CKinovueDlg::ShowEngineOutput() {
  if (!outputWindow_) {
    outputWindow_ = new CMplayerOutDlg([this] { return engine_.get(); }, this);
    // Docked below the main window, placed at once; a drag that ends near
    // it docks it again.
    if (WindowDock* dock = Dock()) {
      const DockWindow handle = WidgetDockWindows::HandleOf(outputWindow_);
      const platform::WindowHandle mainWindow = Handle();
      new DockMoveWatcher(outputWindow_, [mainWindow, handle] {
        platform::SendMessage(mainWindow, WM_DOCK_MOVED, static_cast<std::uintptr_t>(handle), 0);
      });
      dock->AddWindow(handle, WidgetDockWindows::HandleOf(this), DockBelow, true);
    }
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
