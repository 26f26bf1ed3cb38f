#pragma once

// The pointer over the picture in full screen: when the cursor hides, and
// when the control panel slides in over the lowest band of the picture.
class FullScreenPointer {
 public:
  static constexpr int kHideAfterTicks = 3;  // one tick a second
  static constexpr int kPanelBand = 70;      // pixels at the bottom of the picture

  // A mouse move over the picture at (x, y). Returns true when the position
  // changed (the panel rules then apply). When no countdown runs, one starts
  // and the cursor shows: TakeTimerStart() then tells the caller to start
  // its one-second timer.
  bool OnMove(int x, int y);
  bool TakeTimerStart() {
    const bool start = timerStart_;
    timerStart_ = false;
    return start;
  }
  // One tick of the timer. canHide: in full screen, playing, panel not shown.
  // Returns true when the timer must stop.
  bool OnTick(bool canHide);
  // Full screen ended, or the panel came in: the cursor is shown again.
  void ShowCursor() { cursorVisible_ = true; }
  // Full screen ended: no countdown is left running for the next time.
  void Reset() { *this = FullScreenPointer(); }

  bool CursorVisible() const { return cursorVisible_; }

  // With the panel hidden: does a pointer at screenY reach into the band
  // above the lower of the picture's bottom and the work area's bottom?
  static bool InPanelBand(int screenY, int pictureBottom, int workAreaBottom);

 private:
  bool cursorVisible_ = true;
  int countdown_ = 0;
  bool moved_ = false;
  bool timerStart_ = false;
  int lastX_ = 0, lastY_ = 0;
};
