// The playlist window docked at the main window's right edge, on a private X
// server without a window manager (the test moves windows as a user's drag
// would end), against a recording engine.
#include <gtest/gtest.h>

#include <QScreen>

#include "controls/widget_dock_windows.h"
#include "core_app.h"
#include "fake_engine.h"
#include "mainwindow/command_ids.h"
#include "mainwindow/kinovue_dlg.h"
#include "temp_dir.h"
#include "test_window.h"
#include "widget_app.h"

namespace {

class PlayListDock : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(testsupport::WidgetAppOnXvfb(), nullptr) << "Xvfb did not start";
    KinovueOptions options = testsupport::TestWindowOptions(folder);
    options.engineFactory = [this](const std::string&) {
      auto e = std::make_unique<FakeEngine>();
      engine = e.get();
      return e;
    };
    dlg = std::make_unique<CKinovueDlg>(std::move(options));
    ASSERT_TRUE(dlg->OnInitDialog());
    dlg->move(100, 80);
    dlg->show();
    ASSERT_TRUE(Settles([&] { return dlg->isVisible() && dlg->pos() == QPoint(100, 80); }));
    dlg->OnCommand(ID_SHOW_PLAYLIST);
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == "CGeneralPlayListDlg") playlist = w;
    ASSERT_NE(playlist, nullptr);
  }
  void TearDown() override { dlg.reset(); }

  bool Settles(const std::function<bool()>& done) { return testsupport::PumpUntil(done, 5000); }
  // Where the playlist window belongs: flush at the main window's right edge.
  QPoint RightEdge() const {
    const QRect main = dlg->frameGeometry();
    return {main.x() + main.width(), main.y()};
  }
  bool Docked() { return Settles([&] { return playlist->isVisible() && playlist->pos() == RightEdge(); }); }

  testsupport::TempDir folder;
  FakeEngine* engine = nullptr;
  std::unique_ptr<CKinovueDlg> dlg;
  QWidget* playlist = nullptr;
};

TEST_F(PlayListDock, FollowsTheMainWindowThroughMovesAndSizeModes) {
  EXPECT_TRUE(Docked()) << "opened away from the right edge";
  EXPECT_EQ(dlg->Dock()->DockingOf(playlist->winId()), (WindowDock::Docking{dlg->winId(), DockRight}));

  dlg->move(260, 140);
  EXPECT_TRUE(Docked()) << "left behind by a move";

  engine->info.hasVideo = true;
  engine->info.displayWidth = 400;
  engine->info.displayHeight = 300;
  const int narrow = dlg->frameGeometry().width();
  dlg->OnCommand(ID_DOUBLE_SIZE);
  ASSERT_TRUE(Settles([&] { return dlg->frameGeometry().width() > narrow; }));
  EXPECT_TRUE(Docked()) << "left behind by double size";

  dlg->OnCommand(ID_AUDIO_PANEL);
  EXPECT_TRUE(Docked()) << "left behind by the sound-only strip";

  dlg->OnCommand(ID_FULL_SCREEN);
  ASSERT_TRUE(Settles([&] { return dlg->frameGeometry() == dlg->screen()->geometry(); }));
  EXPECT_TRUE(Docked()) << "full screen keeps it at the right edge, off the screen";
  dlg->OnCommand(ID_FULL_SCREEN);
  ASSERT_TRUE(Settles([&] { return dlg->frameGeometry() != dlg->screen()->geometry(); }));
  EXPECT_TRUE(Docked()) << "not back after full screen";
}

TEST_F(PlayListDock, DraggedAwayItStaysFreeDroppedNearItSnapsBack) {
  ASSERT_TRUE(Docked());
  const QPoint away = RightEdge() + QPoint(120, 60);
  playlist->move(away);  // the end of a drag: the window reports the move
  ASSERT_TRUE(Settles([&] { return dlg->Dock()->DockingOf(playlist->winId()).side == DockNone; }))
      << "still docked after being dragged away";
  dlg->move(dlg->pos() + QPoint(30, 30));
  testsupport::PumpUntil([] { return false; }, 2 * DockMoveWatcher::kMoveEndMs);
  EXPECT_EQ(playlist->pos(), away);

  const QPoint near = RightEdge() + QPoint(25, 40);
  playlist->move(near);
  EXPECT_TRUE(Docked()) << "did not snap within the snap distance";
  EXPECT_EQ(dlg->Dock()->DockingOf(playlist->winId()).side, DockRight);
}

}  // namespace
