#pragma once
#include <cstdint>
#include <optional>

#include "controls/anchor_geometry.h"

// The arithmetic of window docking over plain screen rectangles (left, top,
// right, bottom; right and bottom one past the last pixel), so that it is
// tested without a display. The window dock reads rectangles, calls these
// and moves windows to the results.

enum DockSide : std::int32_t {
  DockNone = 0,
  DockAbove = 1,  // on top of the parent, left edges aligned
  DockBelow = 2,  // under the parent, left edges aligned
  DockLeft = 3,   // left of the parent, top edges aligned
  DockRight = 4,  // right of the parent, top edges aligned
};

struct DockPoint {
  int x = 0;
  int y = 0;
  bool operator==(const DockPoint&) const = default;
};

// Where a window sits flush against its parent on side: its new top-left
// corner, keeping its size. DockNone keeps the window where it is.
DockPoint DockedPosition(DockSide side, const AnchorRect& window, const AnchorRect& parent);

// The two rectangles share at least one pixel.
bool RectsOverlap(const AnchorRect& a, const AnchorRect& b);

struct DockSnap {
  DockSide side = DockNone;
  DockPoint position;
};

// Whether window, where the user left it, snaps to target: one of its edges
// (a 2-pixel strip) within snapDistance of the facing edge of target, away
// from target's outer eighths along that edge. Tried above, below, left,
// right; the first hit wins. nullopt when none hits.
std::optional<DockSnap> SnapToTarget(const AnchorRect& window, const AnchorRect& target, int snapDistance);
