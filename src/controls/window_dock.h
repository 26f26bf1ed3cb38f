#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "controls/dock_geometry.h"

// Top-level windows that stick together: a window left with an edge near
// another registered window snaps flush against it and is docked to it; when
// a window moves, every window docked to it, directly or through others,
// moves along and keeps its side. The main window owns the one dock and is
// its master (never undocked by its own moves). User-interface thread only.
//
// How to dock a window: register it once, when it is created, with
//   dock.AddWindow(handle, mainWindowHandle, DockBelow /* or DockRight */, true);
// and report the end of each move the user makes to the main window, which
// answers with UpdateDock(handle, true, false) (see DockMoveWatcher). Hidden
// windows stay registered: they are still snap targets and still follow.

// A window's handle (platform::WindowHandle: its X11 id).
using DockWindow = std::uint64_t;

// What the dock needs of the window system.
class DockWindows {
 public:
  virtual ~DockWindows() = default;
  // The window's outer rectangle in screen coordinates; nullopt when the
  // window is gone (it is then neither moved nor a snap target).
  virtual std::optional<AnchorRect> WindowRect(DockWindow window) const = 0;
  // Moves the window's outer top-left corner to (x, y), keeping its size,
  // and repaints it.
  virtual void MoveWindow(DockWindow window, int x, int y) = 0;
};

class WindowDock {
 public:
  explicit WindowDock(DockWindows& windows) : windows_(windows) {}
  WindowDock(const WindowDock&) = delete;
  WindowDock& operator=(const WindowDock&) = delete;
  ~WindowDock();

  // Registers window, docked to attachTo (0: to nothing) on side. False when
  // window is registered already or attachTo is given but not registered.
  // With placeNow the window is moved flush against attachTo at once.
  bool AddWindow(DockWindow window, DockWindow attachTo, DockSide side, bool placeNow);
  // Forgets a window that is going away; windows docked to it stay where
  // they are, undocked. False when it was not registered.
  bool RemoveWindow(DockWindow window);
  // False when window is given (non-zero) but not registered.
  bool SetMaster(DockWindow window);
  void SetSnapDistance(int pixels) { snapDistance_ = pixels; }
  int SnapDistance() const { return snapDistance_; }

  // After window moved or changed size. reattach: put it back flush against
  // its parent. Otherwise (the user moved it) a window other than the master
  // leaves its parent and snaps to the first registered window within reach
  // that is not docked to it.
  // moveChildren: the windows docked to it, directly or not, follow it;
  // otherwise they are undocked and stay where they are.
  void UpdateDock(DockWindow window, bool moveChildren, bool reattach);

  // The window window is docked to and on which side; {0, DockNone} when it
  // is free or not registered.
  struct Docking {
    DockWindow parent = 0;
    DockSide side = DockNone;
    bool operator==(const Docking&) const = default;
  };
  Docking DockingOf(DockWindow window) const;

 private:
  struct DockNode {
    DockWindow window = 0;
    std::vector<DockNode*> children;  // in docking order
    DockNode* parent = nullptr;
    DockSide side = DockNone;
  };

  DockNode* Find(DockWindow window) const;
  // keepDocked: flush against the parent again; otherwise look for a new
  // neighbour in registration order.
  void Place(DockNode& node, bool keepDocked);
  static void Detach(DockNode& node);
  // node hangs from ancestor, directly or through others.
  static bool IsDockedTo(const DockNode& node, const DockNode& ancestor);

  DockWindows& windows_;
  DockWindow master_ = 0;
  std::vector<std::unique_ptr<DockNode>> nodes_;  // registration order decides ties
  int snapDistance_ = 10;
};
