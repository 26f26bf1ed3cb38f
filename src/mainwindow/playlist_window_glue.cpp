// The main window's side of the playlist window and of window docking: the
// dock the main window masters, the playlist window it opens, and the
// re-docking after the main window moves or changes size or mode.
#include <QEvent>

#include "controls/widget_dock_windows.h"
#include "engine/engine_types.h"
#include "mainwindow/kinovue_dlg.h"
#include "playlist/general_play_list_dlg.h"

namespace {

// How near (in pixels) a window must come to another to snap to it.
constexpr int kSnapDistance = 40;

}  // namespace

void CKinovueDlg::SetUpDock() {
  dockWindows_ = std::make_unique<WidgetDockWindows>();
  dock_ = std::make_unique<WindowDock>(*dockWindows_);
  dock_->SetSnapDistance(kSnapDistance);
  const DockWindow self = WidgetDockWindows::HandleOf(this);
  dock_->AddWindow(self, 0, DockNone, false);
  dock_->SetMaster(self);
}

void CKinovueDlg::SetUpPlayListWindow() {
  playlist_->SetViewFactory([this](CGeneralPlayList& owner, QWidget* parent) {
    CGeneralPlayListDlg::Options options;
    options.storedPath = StoredPlayListPath(programFolder_);
    const platform::WindowHandle mainWindow = Handle();
    options.reportMoved = [mainWindow](std::uint64_t window) {
      platform::SendMessage(mainWindow, WM_DOCK_MOVED, static_cast<std::uintptr_t>(window), 0);
    };
    options.runDialog = options_.runDialog;
    return std::unique_ptr<CPlayListView>(std::make_unique<CGeneralPlayListDlg>(owner, parent, std::move(options)));
  });
}

void CKinovueDlg::ShowPlayListWindow() {
  if (playlist_) playlist_->ShowWindow(this, dock_.get());
}

void CKinovueDlg::OnDockMoved(std::uintptr_t window) {
  if (dock_) dock_->UpdateDock(static_cast<DockWindow>(window), true, false);
}

bool CKinovueDlg::event(QEvent* event) {
  const bool handled = QMainWindow::event(event);
  // Every move, size change and change of mode (sizes, sound-only strip,
  // full screen) ends in one of these: the docked windows follow.
  if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) && dock_ && !closing_)
    dock_->UpdateDock(WidgetDockWindows::HandleOf(this), true, false);
  return handled;
}
