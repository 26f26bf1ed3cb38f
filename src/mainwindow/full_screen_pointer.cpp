#include "mainwindow/full_screen_pointer.h"

#include <algorithm>

bool FullScreenPointer::OnMove(int x, int y) {
  const bool changed = !moved_ || x != lastX_ || y != lastY_;
  moved_ = true;
  lastX_ = x;
  lastY_ = y;
  // Movements during a countdown do not extend it.
  if (countdown_ == 0) {
    cursorVisible_ = true;
    countdown_ = kHideAfterTicks;
    timerStart_ = true;
  }
  return changed;
}

bool FullScreenPointer::OnTick(bool canHide) {
  if (countdown_ > 0) --countdown_;
  if (countdown_ != 0) return false;
  if (cursorVisible_ && canHide) cursorVisible_ = false;
  return true;
}

bool FullScreenPointer::InPanelBand(int screenY, int pictureBottom, int workAreaBottom) {
  const int bottom = std::min(pictureBottom, workAreaBottom);
  return screenY > bottom - kPanelBand;
}
