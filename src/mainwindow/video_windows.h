#pragma once
#include <QPixmap>
#include <QWidget>
#include <optional>

// The window the engine draws into: a native X11 window whose id goes to the
// engine, with a dark background. Qt never paints over the engine's picture.
class VideoWindow : public QWidget {
  Q_OBJECT

 public:
  explicit VideoWindow(QWidget* parent);
  QPaintEngine* paintEngine() const override { return nullptr; }

 protected:
  void paintEvent(QPaintEvent*) override {}
};

// The area behind the picture: the dark background, with the logo (bitmap
// 181) centred and unscaled while nothing is shown.
class VideoBackWindow : public QWidget {
  Q_OBJECT

 public:
  explicit VideoBackWindow(QWidget* parent);
  void SetLogoVisible(bool visible);
  bool LogoVisible() const { return logoVisible_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<QPixmap> logo_;
  bool logoVisible_ = true;
};

// RGB(16, 16, 16): the background behind the picture.
inline constexpr int kVideoBackgroundGrey = 16;
