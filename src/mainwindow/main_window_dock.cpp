#include "mainwindow/main_window_dock.h"

#include "controls/widget_dock_windows.h"
#include "playlist/general_play_list.h"
#include "playlist/general_play_list_dlg.h"

namespace {

// How near (in pixels) a window must come to another to snap to it.
constexpr int kSnapDistance = 40;

}  // namespace

MainWindowDock::MainWindowDock(QWidget& mainWindow) : mainWindow_(mainWindow) {}

MainWindowDock::~MainWindowDock() = default;

void MainWindowDock::SetUp() {
  windows_ = std::make_unique<WidgetDockWindows>();
  dock_ = std::make_unique<WindowDock>(*windows_);
  dock_->SetSnapDistance(kSnapDistance);
  const DockWindow self = WidgetDockWindows::HandleOf(&mainWindow_);
  dock_->AddWindow(self, 0, DockNone, false);
  dock_->SetMaster(self);
}

void MainWindowDock::SetUpPlayListWindow(CGeneralPlayList& playlist, const std::string& storedPath,
                                         std::function<int(QDialog&)> runDialog) {
  playlist.SetViewFactory([this, storedPath, runDialog](CGeneralPlayList& owner, QWidget* parent) {
    CGeneralPlayListDlg::Options options;
    options.storedPath = storedPath;
    options.reportMoved = [this](std::uint64_t window) { OnWindowMoved(static_cast<DockWindow>(window)); };
    options.runDialog = runDialog;
    return std::unique_ptr<CPlayListView>(std::make_unique<CGeneralPlayListDlg>(owner, parent, std::move(options)));
  });
}

void MainWindowDock::ShowPlayListWindow(CGeneralPlayList* playlist) {
  if (playlist) playlist->ShowWindow(&mainWindow_, dock_.get());
}

void MainWindowDock::OnWindowMoved(DockWindow window) {
  if (dock_) dock_->UpdateDock(window, true, false);
}

void MainWindowDock::OnMainWindowMoved() {
  if (dock_) dock_->UpdateDock(WidgetDockWindows::HandleOf(&mainWindow_), true, false);
}
