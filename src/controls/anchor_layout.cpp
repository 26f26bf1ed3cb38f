#include "controls/anchor_layout.h"

#include <QRegion>
#include <QWidget>
#include <algorithm>

#include "controls/anchor_geometry.h"

namespace {

AnchorRect ClientRect(const QWidget* w) { return AnchorRect{0, 0, w->width(), w->height()}; }

int EdgeOf(const AnchorEdge& edge, const AnchorRect& parentClient, AnchorAxis axis) {
  const AnchorRect frame = edge.reference ? ClientRect(edge.reference) : parentClient;
  return AnchorEdgeCoordinate(edge.fromFar, edge.percent, edge.value, frame, axis);
}

}  // namespace

bool AnchorLayout::Layout(QWidget* parent, const AnchorEntry* entries, std::size_t count) {
  if (!parent) return false;
  const AnchorRect client = ClientRect(parent);
  for (std::size_t i = 0; i < count; ++i) {
    const AnchorEntry& e = entries[i];
    if (!e.window) continue;
    const int left = EdgeOf(e.left, client, AnchorAxis::Horizontal);
    const int right = EdgeOf(e.right, client, AnchorAxis::Horizontal);
    const int top = EdgeOf(e.top, client, AnchorAxis::Vertical);
    const int bottom = EdgeOf(e.bottom, client, AnchorAxis::Vertical);
    const int width = std::max(0, right - left);
    const int height = std::max(0, bottom - top);
    e.window->setGeometry(left, top, width, height);
    if (e.repaint) e.window->update();
    if (e.region == ANCHOR_REGION_RECTANGLE) {
      e.window->setMask(QRegion(0, 0, width, height, QRegion::Rectangle));
    } else if (e.region == ANCHOR_REGION_ELLIPSE) {
      e.window->setMask(QRegion(0, 0, width, height, QRegion::Ellipse));
    }
  }
  return true;
}
