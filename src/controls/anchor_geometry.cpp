#include "controls/anchor_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kIntMin = std::numeric_limits<int>::min();

// Truncates toward zero like a plain cast, but a value outside the int range
// (or NaN) saturates instead of being undefined.
int TruncateToInt(double v) {
  if (std::isnan(v)) return 0;
  if (v >= static_cast<double>(kIntMax)) return kIntMax;
  if (v <= static_cast<double>(kIntMin)) return kIntMin;
  return static_cast<int>(v);
}

int ClampToInt(std::int64_t v) {
  if (v > kIntMax) return kIntMax;
  if (v < kIntMin) return kIntMin;
  return static_cast<int>(v);
}

}  // namespace

int AnchorEdgeCoordinate(std::int32_t fromFar, bool percent, std::int32_t value,
                         const AnchorRect& frame, AnchorAxis axis) {
  const bool horizontal = axis == AnchorAxis::Horizontal;
  const std::int64_t span = horizontal ? frame.Width() : frame.Height();
  // 64 bits: a large percentage of a large span must not overflow.
  const std::int64_t offset = percent ? value * span / 100 : value;
  if (fromFar == 1) {
    const std::int64_t farEdge = horizontal ? frame.right : frame.bottom;
    return ClampToInt(farEdge - offset);
  }
  return ClampToInt(offset);
}

int ZoomedLength(int native, float zoom) {
  return TruncateToInt(static_cast<float>(native) * zoom);
}

AnchorRect CentredVideoRect(int containerWidth, int containerHeight, int nativeWidth,
                            int nativeHeight, float zoom) {
  if (nativeWidth == 0 || nativeHeight == 0) return {0, 0, containerWidth, containerHeight};
  const int w = ZoomedLength(nativeWidth, zoom);
  const int h = ZoomedLength(nativeHeight, zoom);
  const int x = (containerWidth - w) / 2;
  const int y = (containerHeight - h) / 2;
  return {x, y, x + w, y + h};
}

std::optional<AnchorRect> ZoomedMainWindowRect(const ZoomWindowInput& in) {
  const AnchorRect& m = in.mainWindow;
  const AnchorRect& v = in.video;
  const AnchorRect& k = in.container;
  if (v.Width() == in.targetWidth && v.Height() == in.targetHeight &&
      v.Width() == k.Width() && v.Height() == k.Height()) {
    return std::nullopt;
  }
  std::int64_t targetWidth = in.targetWidth;
  std::int64_t targetHeight = in.targetHeight;
  // What the window adds around the picture (frame, menu, control strip).
  const std::int64_t extraWidth = static_cast<std::int64_t>(m.Width()) - v.Width();
  const std::int64_t extraHeight = static_cast<std::int64_t>(m.Height()) - v.Height();
  const AnchorRect& a = in.available;
  const bool limited = a.Width() > 0 && a.Height() > 0;
  if (limited && targetWidth > 0 && targetHeight > 0) {
    const std::int64_t roomWidth = std::max<std::int64_t>(a.Width() - extraWidth, 1);
    const std::int64_t roomHeight = std::max<std::int64_t>(a.Height() - extraHeight, 1);
    if (targetWidth > roomWidth || targetHeight > roomHeight) {
      const double scale = std::min(static_cast<double>(roomWidth) / static_cast<double>(targetWidth),
                                    static_cast<double>(roomHeight) / static_cast<double>(targetHeight));
      targetWidth = static_cast<std::int64_t>(static_cast<double>(targetWidth) * scale);
      targetHeight = static_cast<std::int64_t>(static_cast<double>(targetHeight) * scale);
    }
  }
  std::int64_t newWidth = std::max<std::int64_t>(extraWidth + targetWidth, in.minWidth);
  std::int64_t newHeight = std::max<std::int64_t>(extraHeight + targetHeight, in.minHeight);
  // Each half is truncated on its own, as the window has always been placed.
  std::int64_t left = m.left + (m.Width() / 2 - newWidth / 2);
  std::int64_t top = m.top + (m.Height() / 2 - newHeight / 2);
  if (top < 0) top = 0;
  // The left edge is pulled back only when the client origin would go off
  // the screen's left, not merely the frame.
  if (left + in.clientOriginX < 0) left = 0;
  if (limited) {
    left = std::max<std::int64_t>(std::min<std::int64_t>(left, a.right - newWidth), a.left);
    top = std::max<std::int64_t>(std::min<std::int64_t>(top, a.bottom - newHeight), a.top);
  }
  return AnchorRect{ClampToInt(left), ClampToInt(top), ClampToInt(left + newWidth), ClampToInt(top + newHeight)};
}

std::optional<AnchorRect> FittedVideoRect(int containerWidth, int containerHeight,
                                          int nativeWidth, int nativeHeight, bool nativeSize) {
  if (nativeWidth <= 0 || nativeHeight <= 0) return std::nullopt;
  std::int64_t w = nativeWidth;
  std::int64_t h = nativeHeight;
  if (!nativeSize) {
    const std::int64_t cw = std::max(containerWidth, 0);
    const std::int64_t ch = std::max(containerHeight, 0);
    // Full height unless that would be wider than the container.
    if (ch * nativeWidth <= cw * nativeHeight) {
      h = ch;
      w = (ch * nativeWidth + nativeHeight / 2) / nativeHeight;
    } else {
      w = cw;
      h = (cw * nativeHeight + nativeWidth / 2) / nativeWidth;
    }
  }
  const std::int64_t x = (containerWidth - w) / 2;
  const std::int64_t y = (containerHeight - h) / 2;
  return AnchorRect{ClampToInt(x), ClampToInt(y), ClampToInt(x + w), ClampToInt(y + h)};
}

std::optional<int> SliderReleaseValue(int pointerX, int clientWidth, int span) {
  const double x = static_cast<double>(pointerX) - 8;
  const double w = static_cast<double>(clientWidth) - 16;
  if (w <= 0) return std::nullopt;
  return TruncateToInt(x / w * span);
}

int SaturatingDifference(int a, int b) {
  return ClampToInt(static_cast<std::int64_t>(a) - b);
}
