#include "controls/video_area_fitter.h"

#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace {

AnchorRect ToAnchorRect(const QRect& r) { return AnchorRect{r.x(), r.y(), r.x() + r.width(), r.y() + r.height()}; }

// A child widget has no frame of its own: its window rectangle is its client
// area placed on the screen.
AnchorRect ScreenRect(const QWidget* w) {
  return ToAnchorRect(QRect(w->mapToGlobal(QPoint(0, 0)), w->size()));
}

void MoveTo(QWidget* w, const AnchorRect& r) {
  const QRect geometry(r.left, r.top, std::max(0, r.Width()), std::max(0, r.Height()));
  w->setGeometry(geometry);
  // Qt gives a hidden native window its new geometry only when it is shown.
  // The engine sets up its output on the video window before the picture is
  // shown, and changing the window's size under it afterwards costs a
  // rescale at every start (and lost the subtitle on the screen then): the
  // window system hears of the size now.
  QWindow* native = w->internalWinId() ? w->windowHandle() : nullptr;
  if (native && !w->isVisible() && !geometry.isEmpty()) {
    const QWidget* parent = w->nativeParentWidget();
    native->setGeometry(QRect(parent ? w->mapTo(parent, QPoint(0, 0)) : geometry.topLeft(), geometry.size()));
  }
  w->update();
}

}  // namespace

void VideoAreaFitter::Relayout(bool fitVideo, float zoom) {
  if (QWidget* area = clientWindow ? clientWindow : mainWindow) {
    const AnchorRect client{0, 0, area->width(), area->height()};
    Layout(area, table.data(), table.size());
    clientRect = client;
  }
  if (!fitVideo || !videoWindow || !videoContainer) return;
  MoveTo(videoWindow, CentredVideoRect(videoContainer->width(), videoContainer->height(),
                                       nativeWidth, nativeHeight, zoom));
}

void VideoAreaFitter::ZoomWindow(float zoom) {
  if (mainWindow && videoWindow && videoContainer) {
    ZoomWindowInput in;
    in.targetWidth = ZoomedLength(nativeWidth, zoom);
    in.targetHeight = ZoomedLength(nativeHeight, zoom);
    in.container = ScreenRect(videoContainer);
    in.video = ScreenRect(videoWindow);
    in.mainWindow = ToAnchorRect(mainWindow->frameGeometry());
    in.clientOriginX = (clientWindow ? clientWindow : mainWindow)->mapToGlobal(QPoint(0, 0)).x();
    in.minWidth = minWidth;
    in.minHeight = minHeight;
    if (const QScreen* screen = mainWindow->screen()) in.available = ToAnchorRect(screen->availableGeometry());
    if (const std::optional<AnchorRect> outer = ZoomedMainWindowRect(in)) {
      // The sizes above are outer sizes; Qt sizes a top-level window by its
      // client area, which changes by the same amount.
      const QSize client = mainWindow->size();
      mainWindow->move(outer->left, outer->top);
      mainWindow->resize(client.width() + outer->Width() - in.mainWindow.Width(),
                         client.height() + outer->Height() - in.mainWindow.Height());
      mainWindow->update();
    }
  }
  Relayout(true, zoom);
}

bool VideoAreaFitter::FitVideo(bool nativeSize) {
  if (!videoWindow || !videoContainer) return false;
  const std::optional<AnchorRect> r =
      FittedVideoRect(videoContainer->width(), videoContainer->height(), nativeWidth, nativeHeight, nativeSize);
  if (!r || r->Width() <= 0 || r->Height() <= 0) return false;
  MoveTo(videoWindow, *r);
  return true;
}
