#pragma once
#include <QPointer>
#include <functional>


class CMplayerOutDlg;
class CPlayerEngine;
class QDialog;
class QWidget;
class WindowDock;

// The engine output window (View "引擎输出信息") and the shortcut help
// (Help "快捷键帮助") of the main window.
class EngineOutputWindows {
 public:
  // window: the main window, their parent; engine and dock as they are at
  // the moment (either may be missing; the dock hears the output window's
  // moves); runDialog shows a modal dialog (tests answer it), exec() when empty.
  EngineOutputWindows(QWidget* window, std::function<CPlayerEngine*()> engine, std::function<WindowDock*()> dock,
                      std::function<int(QDialog&)> runDialog);

  // Made at the first call, docked below the main window; shown and raised.
  void ShowEngineOutput();
  void ShowKeyHelp();
  CMplayerOutDlg* OutputWindow() const;  // null until first opened

 private:
  QWidget* window_;
  std::function<CPlayerEngine*()> engine_;
  std::function<WindowDock*()> dock_;
  std::function<int(QDialog&)> runDialog_;
  QPointer<CMplayerOutDlg> outputWindow_;  // a child of the main window: lives as long as it
};
