#include "controls/window_dock.h"

#include <algorithm>
#include <unordered_set>

WindowDock::~WindowDock() = default;

WindowDock::DockNode* WindowDock::Find(DockWindow window) const {
  for (const auto& node : nodes_) {
    if (node->window == window) return node.get();
  }
  return nullptr;
}

void WindowDock::Detach(DockNode& node) {
  if (node.parent) {
    auto& siblings = node.parent->children;
    const auto it = std::find(siblings.begin(), siblings.end(), &node);
    if (it != siblings.end()) siblings.erase(it);
  }
  node.parent = nullptr;
  node.side = DockNone;
}

bool WindowDock::AddWindow(DockWindow window, DockWindow attachTo, DockSide side, bool placeNow) {
  if (window == 0 || Find(window)) return false;
  DockNode* parent = nullptr;
  if (attachTo != 0) {
    parent = Find(attachTo);
    if (!parent) return false;
  }
  auto node = std::make_unique<DockNode>();
  node->window = window;
  if (parent) {
    node->parent = parent;
    node->side = side;
    parent->children.push_back(node.get());
  }
  nodes_.push_back(std::move(node));
  if (placeNow) UpdateDock(window, false, parent != nullptr);
  return true;
}

bool WindowDock::RemoveWindow(DockWindow window) {
  DockNode* node = Find(window);
  if (!node) return false;
  Detach(*node);
  for (DockNode* child : node->children) {
    child->parent = nullptr;
    child->side = DockNone;
  }
  if (master_ == window) master_ = 0;
  std::erase_if(nodes_, [node](const auto& n) { return n.get() == node; });
  return true;
}

bool WindowDock::SetMaster(DockWindow window) {
  if (window != 0 && !Find(window)) return false;
  master_ = window;
  return true;
}

WindowDock::Docking WindowDock::DockingOf(DockWindow window) const {
  const DockNode* node = Find(window);
  if (!node || !node->parent) return {};
  return {node->parent->window, node->side};
}

bool WindowDock::IsDockedTo(const DockNode& node, const DockNode& ancestor) {
  // No window is ever docked to one of its own: the chain ends.
  for (const DockNode* up = node.parent; up; up = up->parent) {
    if (up == &ancestor) return true;
  }
  return false;
}

void WindowDock::Place(DockNode& node, bool keepDocked) {
  const std::optional<AnchorRect> own = windows_.WindowRect(node.window);
  if (keepDocked) {
    if (node.side == DockNone || !node.parent || !own) return;
    const std::optional<AnchorRect> parent = windows_.WindowRect(node.parent->window);
    if (!parent) return;
    const DockPoint at = DockedPosition(node.side, *own, *parent);
    windows_.MoveWindow(node.window, at.x, at.y);
    return;
  }
  Detach(node);
  if (!own) return;
  for (const auto& other : nodes_) {
    // Its own docked windows have not followed it yet and always lie within
    // reach; snapping to one would undo the user's move.
    if (other.get() == &node || IsDockedTo(*other, node)) continue;
    const std::optional<AnchorRect> target = windows_.WindowRect(other->window);
    if (!target) continue;
    if (const std::optional<DockSnap> snap = SnapToTarget(*own, *target, snapDistance_)) {
      node.parent = other.get();
      node.side = snap->side;
      other->children.push_back(&node);
      windows_.MoveWindow(node.window, snap->position.x, snap->position.y);
      return;
    }
  }
}

void WindowDock::UpdateDock(DockWindow window, bool moveChildren, bool reattach) {
  DockNode* node = Find(window);
  if (!node) return;
  if (reattach) {
    Place(*node, true);
  } else if (window != master_) {
    Place(*node, false);  // leaves its parent first
  }
  if (!moveChildren) {
    for (DockNode* child : node->children) {
      child->parent = nullptr;
      child->side = DockNone;
    }
    node->children.clear();
    return;
  }
  // Depth first with a visited set: each window is placed after its parent,
  // and none twice.
  std::vector<DockNode*> stack = node->children;
  std::unordered_set<DockNode*> visited;
  while (!stack.empty()) {
    DockNode* entry = stack.back();
    stack.pop_back();
    visited.insert(entry);
    for (DockNode* child : entry->children) {
      if (!visited.count(child)) stack.push_back(child);
    }
    Place(*entry, true);
  }
}
