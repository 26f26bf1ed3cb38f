#pragma once
#include <cstdint>
#include <optional>

// The arithmetic of the anchor layout and the video area fitter, over plain
// rectangles, so that it is tested without a display. The widget side
// (anchor_layout.h, video_area_fitter.h) only reads rectangles from widgets,
// calls these functions and moves widgets to the results.
//
// All divisions truncate toward zero, as C++ integer division does; the
// results are pixel-exact, since the panel's table relies on them.

// A rectangle given by its edges; right and bottom lie one past the last
// pixel, so Width() = right - left.
struct AnchorRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const AnchorRect&) const = default;
};

// Which span of the frame an edge rule measures: left and right rules use
// the width, top and bottom rules the height.
enum class AnchorAxis { Horizontal, Vertical };

// One edge of an anchored window. frame is the measuring frame (the parent's
// or a reference window's client rectangle). The offset is value, or value
// percent of the frame's span when percent is set; with fromFar == 1 it is
// measured back from the frame's right (bottom) edge, with any other value
// the offset itself is the coordinate.
int AnchorEdgeCoordinate(std::int32_t fromFar, bool percent, std::int32_t value,
                         const AnchorRect& frame, AnchorAxis axis);

// The side of a picture at a zoom factor: native * zoom in single precision,
// truncated toward zero.
int ZoomedLength(int native, float zoom);

// Where the video window goes inside a container of width x height: the
// native size times zoom, centred; with either native side 0 (unknown) it
// covers the container.
AnchorRect CentredVideoRect(int containerWidth, int containerHeight, int nativeWidth,
                            int nativeHeight, float zoom);

// What ZoomWindow needs to know, all in screen coordinates.
struct ZoomWindowInput {
  AnchorRect mainWindow;  // outer rectangle of the top-level window
  AnchorRect video;       // the video window
  AnchorRect container;   // the window the video is placed in
  int clientOriginX = 0;  // screen x of the main window's client origin
  int targetWidth = 0;    // wanted video size
  int targetHeight = 0;
  int minWidth = 0;       // smallest outer size of the main window
  int minHeight = 0;
  AnchorRect available;   // the screen's work area; empty: no limit
};

// The main window's new outer rectangle so that the video gets the target
// size, keeping the old centre; nullopt when the video already has the
// target size and exactly fills its container (nothing to move). With a
// work area, a window that would not fit is made smaller with the target's
// proportions and moved inside it. Computed in 64 bits: sizes come from the
// medium and may be anything.
std::optional<AnchorRect> ZoomedMainWindowRect(const ZoomWindowInput& in);

// The video rectangle of FitVideo inside a container of width x height:
// the native size (nativeSize), or else the largest rectangle with the
// native size's proportions (the picture's display size, so its shape is
// kept whatever the container's), rounded to the nearest pixel; centred.
// nullopt while either native side is not positive. Computed in 64 bits.
std::optional<AnchorRect> FittedVideoRect(int containerWidth, int containerHeight,
                                          int nativeWidth, int nativeHeight, bool nativeSize);

// A release on a slider mapped to a value: (pointerX - 8) / (clientWidth - 16)
// of span, in floating point, truncated toward zero and not clamped to the
// slider (a pointer left of the channel gives a negative value). nullopt when
// the slider is too narrow to have a channel. Results beyond the int range
// saturate.
std::optional<int> SliderReleaseValue(int pointerX, int clientWidth, int span);

// a - b without overflow: saturates at the int range.
int SaturatingDifference(int a, int b);
