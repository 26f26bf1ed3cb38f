#include "controls/video_area_fitter.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

AnchorRect ToAnchorRect(const QRect& r) { return AnchorRect{r.x(), r.y(), r.x() + r.width(), r.y() + r.height()}; }

// A child widget has no frame of its own: its window rectangle is its client
// area placed on the screen.
AnchorRect ScreenRect(const QWidget* w) {
  return ToAnchorRect(QRect(w->mapToGlobal(QPoint(0, 0)), w->size()));
}

void MoveTo(QWidget* w, const AnchorRect& r) {
  w->setGeometry(r.left, r.top, std::max(0, r.Width()), std::max(0, r.Height()));
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

bool VideoAreaFitter::FitVideo(bool nativeSize, bool screenAspect) {
  if (!videoWindow || !videoContainer) return false;
  const QSize screen = screenAspect ? PrimaryScreenSize() : QSize();
  const std::optional<AnchorRect> r =
      FittedVideoRect(videoContainer->width(), videoContainer->height(), nativeWidth,
                      nativeHeight, nativeSize, screenAspect, screen.width(), screen.height());
  if (!r) return false;
  MoveTo(videoWindow, *r);
  return true;
}

QSize VideoAreaFitter::PrimaryScreenSize() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {};
  // Device pixels, so the proportions are those of the real display.
  return screen->size() * screen->devicePixelRatio();
}
