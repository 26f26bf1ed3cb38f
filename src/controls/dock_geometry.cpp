#include "controls/dock_geometry.h"

#include <algorithm>

DockPoint DockedPosition(DockSide side, const AnchorRect& window, const AnchorRect& parent) {
  switch (side) {
    case DockAbove: return {parent.left, parent.top - window.Height()};
    case DockBelow: return {parent.left, parent.bottom};
    case DockLeft: return {parent.left - window.Width(), parent.top};
    case DockRight: return {parent.right, parent.top};
    case DockNone: break;
  }
  return {window.left, window.top};
}

bool RectsOverlap(const AnchorRect& a, const AnchorRect& b) {
  return std::max(a.left, b.left) < std::min(a.right, b.right) && std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

std::optional<DockSnap> SnapToTarget(const AnchorRect& w, const AnchorRect& q, int s) {
  const int dx = q.Width() / 8;
  const int dy = q.Height() / 8;
  struct Test {
    DockSide side;
    AnchorRect zone;   // around the target's edge, its outer eighths left out
    AnchorRect strip;  // the window's facing edge
  };
  const Test tests[] = {
      {DockAbove, {q.left + dx, q.top - s, q.right - dx, q.top + s}, {w.left, w.bottom - 2, w.right, w.bottom}},
      {DockBelow, {q.left + dx, q.bottom - s, q.right - dx, q.bottom + s}, {w.left, w.top, w.right, w.top + 2}},
      {DockLeft, {q.left - s, q.top + dy, q.left + s, q.bottom - dy}, {w.right - 2, w.top, w.right, w.bottom}},
      {DockRight, {q.right - s, q.top + dy, q.right + s, q.bottom - dy}, {w.left, w.top, w.left + 2, w.bottom}},
  };
  for (const Test& test : tests) {
    if (RectsOverlap(test.zone, test.strip)) return DockSnap{test.side, DockedPosition(test.side, w, q)};
  }
  return std::nullopt;
}
