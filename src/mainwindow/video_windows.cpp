#include "mainwindow/video_windows.h"

#include <QPainter>

#include "controls/resource_images.h"

VideoWindow::VideoWindow(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_NativeWindow);
  setAttribute(Qt::WA_DontCreateNativeAncestors);
  setAttribute(Qt::WA_PaintOnScreen);
  setAttribute(Qt::WA_NoSystemBackground);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setObjectName("videoWindow");
}

VideoBackWindow::VideoBackWindow(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, QColor(kVideoBackgroundGrey, kVideoBackgroundGrey, kVideoBackgroundGrey));
  setPalette(p);
  setObjectName("videoBackWindow");
}

void VideoBackWindow::SetLogoVisible(bool visible) {
  if (logoVisible_ == visible) return;
  logoVisible_ = visible;
  update();
}

void VideoBackWindow::paintEvent(QPaintEvent*) {
  if (!logoVisible_) return;
  // Read at the first paint: the first image read scans the image plugins,
  // and the engine's start waits for this window.
  if (!logo_) logo_ = LoadResourceBitmap(kLogoBitmap);
  if (logo_->isNull()) return;
  QPainter painter(this);
  const int x = logo_->width() < width() ? (width() - logo_->width()) / 2 : 0;
  const int y = logo_->height() < height() ? (height() - logo_->height()) / 2 : 0;
  painter.drawPixmap(x, y, *logo_);
}
