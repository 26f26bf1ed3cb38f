#include "mainwindow/engine_output_windows.h"

#include <utility>

#include "controls/widget_dock_windows.h"
#include "dialogs/accelerator_key_help_dlg.h"
#include "dialogs/mplayer_out_dlg.h"

EngineOutputWindows::EngineOutputWindows(QWidget* window, std::function<CPlayerEngine*()> engine,
                                         std::function<WindowDock*()> dock, std::function<int(QDialog&)> runDialog)
    : window_(window),
      engine_(std::move(engine)),
      dock_(std::move(dock)),
      runDialog_(std::move(runDialog)) {}

CMplayerOutDlg* EngineOutputWindows::OutputWindow() const { return outputWindow_; }

void EngineOutputWindows::ShowEngineOutput() {
  if (!outputWindow_) {
    outputWindow_ = new CMplayerOutDlg(engine_, window_);
    // Docked below the main window, placed at once; a drag that ends near
    // it docks it again.
    if (WindowDock* dock = dock_()) {
      const DockWindow handle = WidgetDockWindows::HandleOf(outputWindow_);
      new DockMoveWatcher(outputWindow_, [this, handle] {
        if (WindowDock* moved = dock_()) moved->UpdateDock(handle, true, false);
      });
      dock->AddWindow(handle, WidgetDockWindows::HandleOf(window_), DockBelow, true);
    }
  }
  outputWindow_->Show();
  outputWindow_->show();
  outputWindow_->raise();
}

void EngineOutputWindows::ShowKeyHelp() {
  // Owned by the main window, so a topmost main window does not cover it.
  CAcceleratorKeyHelpDlg dialog(engine_(), window_);
  if (runDialog_)
    runDialog_(dialog);
  else
    dialog.exec();
}
