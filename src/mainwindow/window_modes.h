#pragma once
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "controls/video_area_fitter.h"
#include "mainwindow/full_screen_pointer.h"

class CPlayerEngine;
class IniFile;
class QMainWindow;
class QPoint;
struct MainSettings;

// The main window's shapes: sized to the picture, native or double size,
// the sound-only strip, full screen with its pointer and sliding control
// panel, on top while playing. The window owns one and calls it; it reaches
// back only through the hooks.
class WindowModes {
 public:
  struct Hooks {
    std::function<CPlayerEngine*()> engine;                // null while there is none
    std::function<void(int code, std::intptr_t arg)> run;  // an engine command, as the window gives it
    std::function<void(int id, bool checked)> check;       // a menu item's check mark
    std::function<void()> viewChanged;                     // the View menu shows the settings again
    std::function<void(bool on)> fullScreenChanged;
  };

  WindowModes(QMainWindow& window, MainSettings& settings, IniFile& settingsFile, Hooks hooks);

  // Once the control strip is built: the picture's area above the strip, at
  // the window's first size, which becomes its smallest.
  void LayOut(QWidget* client, QWidget* videoBack, QWidget* video, QWidget* panel);
  // The window's size changed: the picture and the strip follow.
  void OnResize();

  // A medium started: the window takes the picture's size, or becomes the
  // sound-only strip for sound alone.
  void FitToVideo();
  // Tells the engine the size of the screen the window is on.
  void TellEngineTheScreen();
  void SetVideoSize(int multiple);
  void ShowVideoArea();
  void ShowSoundOnlyStrip();
  void ToggleFullScreen();
  void SetFullScreen(bool on);
  void ToggleTopmost();
  void SetTopmost(bool on);

  // The pointer over the picture: a click pauses or resumes, a double click
  // also toggles full screen (WM_LBUTTONDOWN, WM_LBUTTONDBLCLK).
  void OnVideoMouse(unsigned message);
  void OnPictureMouseMove(const QPoint& local, const QPoint& global);
  // One tick of the cursor timer, as the timer gives it.
  void HideCursorTick();

  bool IsFullScreen() const { return fullScreen_; }
  bool IsVideoPanel() const { return videoPanel_; }
  bool IsPanelOverlay() const { return panelOverlay_; }
  bool CursorVisible() const { return pointer_.CursorVisible(); }

 private:
  int EngineState() const;
  // Gives back the height the sound-only strip took from the picture.
  void RestoreVideoHeight();
  void MarkVideoPanel(bool on);
  void ApplyCursor();
  void ShowPanelOverlay();
  void HidePanelOverlay();

  QMainWindow& window_;
  MainSettings& settings_;
  IniFile& settingsFile_;
  Hooks hooks_;
  QPointer<QWidget> client_;
  QPointer<QWidget> videoBack_;
  QPointer<QWidget> video_;
  QPointer<QWidget> panel_;
  VideoAreaFitter videoFitter_;

  bool fullScreen_ = false;
  bool panelOverlay_ = false;
  FullScreenPointer pointer_;
  QTimer hideCursorTimer_;
  bool videoPanel_ = true;
  QRect savedVideoRect_;
  QRect savedGeometry_;
  Qt::WindowStates savedWindowState_;
  int minimumClientHeight_ = 0;  // what the sound-only strip gives back
};
