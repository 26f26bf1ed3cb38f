#pragma once
#include <QSize>
#include <vector>

#include "controls/anchor_geometry.h"
#include "controls/anchor_layout.h"

// Places the video widget inside its container (native size, zoomed, or
// as large as the container allows with the picture's own proportions) and
// resizes the top-level window so that the video gets a requested zoom. The main window
// owns one fitter and fills its fields; everything starts empty.
//
// The widgets are not owned. A null widget makes the operation that needs
// it do nothing.
class VideoAreaFitter : public AnchorLayout {
 public:
  // The main window's client rectangle at the last Relayout.
  AnchorRect clientRect;
  // The main window's own anchor table.
  std::vector<AnchorEntry> table;
  QWidget* videoWindow = nullptr;     // shows the picture
  QWidget* videoContainer = nullptr;  // the picture is placed inside it
  // The picture's display size, as the engine reports it; 0 while unknown.
  // The engine fills the video window whatever its shape, so this size's
  // proportions are the ones the window is given.
  int nativeWidth = 0;
  int nativeHeight = 0;
  QWidget* mainWindow = nullptr;  // the top-level window
  // The widget whose client area the table is laid out in (the area below a
  // menu bar); mainWindow when null.
  QWidget* clientWindow = nullptr;
  int minWidth = 0;               // smallest outer size of mainWindow
  int minHeight = 0;

  // Lays out the main window's table, refreshes clientRect and, with
  // fitVideo, centres the video window at zoom times the native size in the
  // container (or makes it fill the container while the size is unknown).
  void Relayout(bool fitVideo, float zoom);

  // Resizes the main window, keeping its centre, so that the video becomes
  // zoom times the native size, then Relayout(true, zoom). When the video
  // already has that size and fills its container only the relayout runs.
  void ZoomWindow(float zoom);

  // Places the video in the container at its native size (nativeSize) or
  // as large as fits with the native size's proportions; centred. False, and
  // nothing moves, while the native size is unknown or the container has no
  // room (a collapsed video area keeps the picture's last size).
  bool FitVideo(bool nativeSize);
};
