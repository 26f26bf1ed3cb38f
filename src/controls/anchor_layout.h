#pragma once
#include <cstddef>
#include <cstdint>

class QWidget;

// Table-driven placement of child widgets: each entry says where a child's
// four edges go, measured in its parent's client area or in another
// widget's size, and which mask (window region) it gets.

// Values of AnchorEntry::region; any other value behaves as none.
enum AnchorRegion : std::int32_t {
  ANCHOR_REGION_NONE = 0,
  ANCHOR_REGION_RECTANGLE = 1,  // (0, 0, width, height)
  ANCHOR_REGION_ELLIPSE = 2,    // inscribed in (0, 0, width, height)
};

// One edge rule.
struct AnchorEdge {
  // The widget whose client rectangle is the measuring frame; null means the
  // parent's. A reference lends only its size: its frame starts at (0, 0)
  // wherever it stands.
  QWidget* reference = nullptr;
  // 1: measured back from the frame's right (bottom) edge; anything else:
  // from the origin.
  std::int32_t fromFar = 0;
  // value is a percentage of the frame's width (height).
  bool percent = false;
  // Pixels, or percent when percent is set.
  std::int32_t value = 0;
};

struct AnchorEntry {
  QWidget* window = nullptr;  // the child to move
  std::int32_t region = ANCHOR_REGION_NONE;
  AnchorEdge left;
  AnchorEdge right;
  AnchorEdge top;
  AnchorEdge bottom;
  bool repaint = false;  // repaint the child after the move
};

// A rule of value pixels from the origin, or (fromFar) from the far edge.
constexpr AnchorEdge AnchorPixels(std::int32_t value, bool fromFar = false) {
  return AnchorEdge{nullptr, fromFar ? 1 : 0, false, value};
}

class AnchorLayout {
 public:
  virtual ~AnchorLayout() = default;

  // Reads the parent's client rectangle once, then moves every entry in
  // order. A width or height that comes out negative is moved as 0 (the
  // widget is then not seen). False when parent is null (nothing moves).
  virtual bool Layout(QWidget* parent, const AnchorEntry* entries, std::size_t count);
};
