#include "controls/window_dock.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

namespace {

// The main window in these tests: 400 x 300 at (100, 100); its eighths are
// 50 (across) and 37 (down), the snap distance 40.
const AnchorRect kMain{100, 100, 500, 400};
constexpr int kSnap = 40;

AnchorRect Sized(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

struct SnapRow {
  const char* what;
  AnchorRect window;
  DockSide side;  // DockNone: no snap
  DockPoint position;
};

TEST(SnapToTarget, ZonesEighthsAndTheSnapDistance) {
  const SnapRow rows[] = {
      {"left edge 20 px right of the main window's right edge", Sized(520, 150, 200, 300), DockRight, {500, 100}},
      {"left edge 39 px away", Sized(539, 150, 200, 300), DockRight, {500, 100}},
      {"left edge 40 px away", Sized(540, 150, 200, 300), DockNone, {}},
      {"left edge inside the main window by 39 px", Sized(461, 150, 200, 300), DockRight, {500, 100}},
      {"beside the top eighth only", Sized(520, -200, 200, 337), DockNone, {}},
      {"reaching one pixel past the top eighth", Sized(520, -200, 200, 338), DockRight, {500, 100}},
      {"bottom edge near the top edge", Sized(200, -5, 200, 100), DockAbove, {100, 0}},
      {"bottom edge near the top edge's outer eighth only", Sized(0, -5, 150, 100), DockNone, {}},
      {"top edge near the bottom edge", Sized(300, 430, 200, 100), DockBelow, {100, 400}},
      {"right edge near the left edge", Sized(-110, 200, 200, 300), DockLeft, {-100, 100}},
      {"far away", Sized(900, 900, 200, 300), DockNone, {}},
  };
  for (const SnapRow& row : rows) {
    const std::optional<DockSnap> snap = SnapToTarget(row.window, kMain, kSnap);
    if (row.side == DockNone) {
      EXPECT_FALSE(snap.has_value()) << row.what;
      continue;
    }
    ASSERT_TRUE(snap.has_value()) << row.what;
    EXPECT_EQ(snap->side, row.side) << row.what;
    EXPECT_EQ(snap->position, row.position) << row.what;
  }
}

// Windows as rectangles; moves keep the size.
class FakeWindows : public DockWindows {
 public:
  std::optional<AnchorRect> WindowRect(DockWindow window) const override {
    const auto it = rects.find(window);
    if (it == rects.end()) return std::nullopt;
    return it->second;
  }
  void MoveWindow(DockWindow window, int x, int y) override {
    AnchorRect& r = rects.at(window);
    r = Sized(x, y, r.Width(), r.Height());
  }
  // As the user drags a window: by (dx, dy).
  void Drag(DockWindow window, int dx, int dy) {
    AnchorRect& r = rects.at(window);
    r = Sized(r.left + dx, r.top + dy, r.Width(), r.Height());
  }
  std::map<DockWindow, AnchorRect> rects;
};

enum : DockWindow { kM = 1, kPlaylist = 2, kOutput = 3, kFourth = 4 };

class WindowDockTest : public ::testing::Test {
 protected:
  WindowDockTest() {
    windows.rects = {{kM, kMain},
                     {kPlaylist, Sized(900, 700, 200, 300)},
                     {kOutput, Sized(900, 100, 400, 150)},
                     {kFourth, Sized(0, 900, 100, 100)}};
    dock.SetSnapDistance(kSnap);
    EXPECT_TRUE(dock.AddWindow(kM, 0, DockNone, false));
    EXPECT_TRUE(dock.SetMaster(kM));
  }
  AnchorRect At(DockWindow w) { return windows.rects.at(w); }
  FakeWindows windows;
  WindowDock dock{windows};
};

TEST_F(WindowDockTest, RegistrationOnceAndPlacedFlushOnItsSide) {
  EXPECT_TRUE(dock.AddWindow(kPlaylist, kM, DockRight, false));
  EXPECT_EQ(At(kPlaylist), Sized(900, 700, 200, 300));  // not placed without placeNow
  EXPECT_FALSE(dock.AddWindow(kPlaylist, 0, DockNone, true));  // twice: the first stands
  EXPECT_EQ(dock.DockingOf(kPlaylist), (WindowDock::Docking{kM, DockRight}));
  EXPECT_FALSE(dock.AddWindow(kOutput, 77, DockBelow, true));  // parent unknown
  EXPECT_FALSE(dock.SetMaster(77));
  for (const auto& [side, x, y] : {std::tuple{DockRight, 500, 100}, std::tuple{DockBelow, 100, 400},
                                   std::tuple{DockLeft, -100, 100}, std::tuple{DockAbove, 100, -200}}) {
    dock.RemoveWindow(kPlaylist);
    ASSERT_TRUE(dock.AddWindow(kPlaylist, kM, side, true));
    EXPECT_EQ(At(kPlaylist), Sized(x, y, 200, 300)) << side;
  }
}

TEST_F(WindowDockTest, MovingTheMainWindowMovesTheWholeTreeKeepingSides) {
  dock.AddWindow(kPlaylist, kM, DockRight, true);
  dock.AddWindow(kOutput, kM, DockBelow, true);
  dock.AddWindow(kFourth, kPlaylist, DockBelow, true);
  windows.Drag(kM, 30, -20);
  dock.UpdateDock(kM, true, false);
  EXPECT_EQ(At(kM), Sized(130, 80, 400, 300));  // the master is never re-placed
  EXPECT_EQ(At(kPlaylist), Sized(530, 80, 200, 300));
  EXPECT_EQ(At(kOutput), Sized(130, 380, 400, 150));
  EXPECT_EQ(At(kFourth), Sized(530, 380, 100, 100));
  // A size change moves the right edge: the playlist follows it.
  windows.rects[kM] = Sized(130, 80, 640, 480);
  dock.UpdateDock(kM, true, false);
  EXPECT_EQ(At(kPlaylist), Sized(770, 80, 200, 300));
  EXPECT_EQ(At(kOutput), Sized(130, 560, 400, 150));
}

TEST_F(WindowDockTest, DraggedAwayUndocksWhileItsOwnWindowsFollowIt) {
  dock.AddWindow(kPlaylist, kM, DockRight, true);
  dock.AddWindow(kFourth, kPlaylist, DockBelow, true);
  windows.Drag(kPlaylist, 41, 0);
  dock.UpdateDock(kPlaylist, true, false);
  EXPECT_EQ(dock.DockingOf(kPlaylist), WindowDock::Docking{});
  EXPECT_EQ(At(kPlaylist), Sized(541, 100, 200, 300));
  EXPECT_EQ(At(kFourth), Sized(541, 400, 100, 100));
  windows.Drag(kM, 0, 50);
  dock.UpdateDock(kM, true, false);
  EXPECT_EQ(At(kPlaylist), Sized(541, 100, 200, 300));  // free now
  // Dropped back within reach it snaps flush again.
  windows.Drag(kPlaylist, -20, 30);
  dock.UpdateDock(kPlaylist, true, false);
  EXPECT_EQ(dock.DockingOf(kPlaylist), (WindowDock::Docking{kM, DockRight}));
  EXPECT_EQ(At(kPlaylist), Sized(500, 150, 200, 300));
  EXPECT_EQ(At(kFourth), Sized(500, 450, 100, 100));
}

TEST_F(WindowDockTest, OfTwoWindowsWithinReachTheOneRegisteredFirstWins) {
  // The playlist lies between the main window's right edge and the output
  // window's left edge, within reach of both.
  windows.rects[kOutput] = Sized(720, 100, 400, 300);
  windows.rects[kPlaylist] = Sized(520, 150, 200, 200);
  dock.AddWindow(kOutput, 0, DockNone, false);
  dock.AddWindow(kPlaylist, 0, DockNone, true);
  EXPECT_EQ(dock.DockingOf(kPlaylist), (WindowDock::Docking{kM, DockRight}));
  EXPECT_EQ(At(kPlaylist), Sized(500, 100, 200, 200));

  WindowDock other(windows);
  other.SetSnapDistance(kSnap);
  windows.rects[kPlaylist] = Sized(520, 150, 200, 200);
  other.AddWindow(kOutput, 0, DockNone, false);
  other.AddWindow(kM, 0, DockNone, false);
  other.AddWindow(kPlaylist, 0, DockNone, true);
  EXPECT_EQ(other.DockingOf(kPlaylist), (WindowDock::Docking{kOutput, DockLeft}));
  EXPECT_EQ(At(kPlaylist), Sized(520, 100, 200, 200));
}

TEST_F(WindowDockTest, TheMasterNeverSnapsAndWithoutMoveChildrenItsWindowsAreLetGo) {
  windows.rects[kOutput] = Sized(520, 100, 200, 200);
  dock.AddWindow(kOutput, 0, DockNone, false);
  dock.AddWindow(kPlaylist, kM, DockBelow, true);
  dock.UpdateDock(kM, true, false);
  EXPECT_EQ(At(kM), kMain);  // the output window is within reach, but the master stays
  dock.UpdateDock(kM, false, false);
  EXPECT_EQ(dock.DockingOf(kPlaylist), WindowDock::Docking{});
  windows.Drag(kM, 10, 10);
  dock.UpdateDock(kM, true, false);
  EXPECT_EQ(At(kPlaylist), Sized(100, 400, 200, 300));
}

TEST_F(WindowDockTest, AWindowNeverSnapsToOneDockedToIt) {
  // The output window hangs below the playlist; the playlist is dropped with
  // its top edge under the output window's bottom edge. Docking it there
  // would make each hang from the other.
  dock.AddWindow(kPlaylist, kM, DockRight, true);
  dock.AddWindow(kOutput, kPlaylist, DockBelow, true);
  ASSERT_EQ(At(kOutput), Sized(500, 400, 400, 150));
  windows.rects[kPlaylist] = Sized(560, 560, 200, 300);
  dock.UpdateDock(kPlaylist, true, false);
  EXPECT_EQ(dock.DockingOf(kPlaylist), WindowDock::Docking{});
  EXPECT_EQ(dock.DockingOf(kOutput), (WindowDock::Docking{kPlaylist, DockBelow}));
  EXPECT_EQ(At(kPlaylist), Sized(560, 560, 200, 300));
  EXPECT_EQ(At(kOutput), Sized(560, 860, 400, 150));
}

TEST_F(WindowDockTest, AWindowThatGoesAwayLetsItsWindowsGoAndIsNoTarget) {
  dock.AddWindow(kPlaylist, kM, DockRight, true);
  dock.AddWindow(kFourth, kPlaylist, DockBelow, true);
  EXPECT_TRUE(dock.RemoveWindow(kPlaylist));
  EXPECT_FALSE(dock.RemoveWindow(kPlaylist));
  EXPECT_EQ(dock.DockingOf(kFourth), WindowDock::Docking{});
  // Still on the screen, but no longer a window the dock knows.
  windows.Drag(kFourth, 10, 10);
  dock.UpdateDock(kFourth, true, false);
  EXPECT_EQ(dock.DockingOf(kFourth), WindowDock::Docking{});
  EXPECT_EQ(At(kFourth), Sized(510, 410, 100, 100));
}

}  // namespace
