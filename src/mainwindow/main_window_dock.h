#pragma once
#include <functional>
#include <memory>
#include <string>

#include "controls/window_dock.h"

class CGeneralPlayList;
class QDialog;
class QWidget;
class WidgetDockWindows;

// The dock the main window masters and the playlist window it opens: docked
// windows follow the main window wherever it goes and whatever shape it
// takes, and dock again (or come loose) when the user has moved them.
class MainWindowDock {
 public:
  explicit MainWindowDock(QWidget& mainWindow);
  ~MainWindowDock();

  // Once the main window has its first layout.
  void SetUp();
  // Null until SetUp.
  WindowDock* Dock() const { return dock_.get(); }

  // The playlist's window is built on its first showing: it reads the stored
  // playlist (storedPath) and docks to the main window's right.
  void SetUpPlayListWindow(CGeneralPlayList& playlist, const std::string& storedPath,
                           std::function<int(QDialog&)> runDialog);
  void ShowPlayListWindow(CGeneralPlayList* playlist);

  // The user has finished moving a docked window.
  void OnWindowMoved(DockWindow window);
  // The main window moved or changed size or mode.
  void OnMainWindowMoved();

 private:
  QWidget& mainWindow_;
  std::unique_ptr<WidgetDockWindows> windows_;
  std::unique_ptr<WindowDock> dock_;
};
