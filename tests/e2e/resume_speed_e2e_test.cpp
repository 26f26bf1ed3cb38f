// Picking up where a film was left and playing faster, as a user meets them:
// the main window under Xvfb with the real MPlayer, in this process so that
// the test reads the time read-out itself.
#include <gtest/gtest.h>

#include <QFile>
#include <chrono>

#include "core_app.h"
#include "mainwindow/command_ids.h"
#include "mainwindow/kinovue_dlg.h"
#include "mainwindow/time_text.h"
#include "temp_dir.h"
#include "test_media.h"
#include "test_window.h"
#include "widget_app.h"

namespace {

using Clock = std::chrono::steady_clock;

class ResumeAndSpeed : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(testsupport::FilmClip().empty());
    ASSERT_TRUE(QFile::copy(QString::fromStdString(testsupport::ProgramFolder() + "libmplayer.so"),
                            QString::fromStdString(folder.File("libmplayer.so"))));
    ASSERT_NE(testsupport::WidgetAppOnXvfb(), nullptr) << "Xvfb did not start";
  }
  void TearDown() override { Close(); }

  CKinovueDlg& Open(const std::string& medium) {
    KinovueOptions options = testsupport::TestWindowOptions(folder);
    testsupport::UseRealEngine(options);
    options.drives = std::make_shared<testsupport::NoDrives>();
    window = std::make_unique<CKinovueDlg>(std::move(options));
    EXPECT_TRUE(window->OnInitDialog());
    window->show();
    window->RequestOpen(medium);
    return *window;
  }
  // Quits as the Exit command does.
  void Close() {
    if (!window) return;
    window->OnCancel();
    window.reset();
  }
  bool WaitPlaying() {
    return testsupport::PumpUntil([&] { return window->Engine()->GetState() == ENGINE_STATE_PLAYING; }, 20000);
  }
  // The position the time read-out shows; -1 while it shows something else.
  int ShownSeconds() {
    const std::string text = window->Panel().TimeText();
    int h = 0, m = 0, s = 0;
    return std::sscanf(text.c_str(), "%d:%d:%d/", &h, &m, &s) == 3 ? h * 3600 + m * 60 + s : -1;
  }
  // How many seconds the read-out moves per second of wall time, over about
  // three seconds.
  double ReadOutRate() {
    int from = -1;
    testsupport::PumpUntil([&] { return (from = ShownSeconds()) > 0; }, 10000);
    const auto start = Clock::now();
    testsupport::PumpUntil([&] { return ShownSeconds() >= from + 6; }, 8000);
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    return (ShownSeconds() - from) / wall;
  }

  testsupport::TempDir folder;
  std::unique_ptr<CKinovueDlg> window;
};

TEST_F(ResumeAndSpeed, AFilmLeftAtQuitPicksUpThereAtTheNextStart) {
  // A copy of its own: the shared one may be made again by another test meanwhile.
  const std::string film = folder.File("film.avi");
  ASSERT_TRUE(QFile::copy(QString::fromStdString(testsupport::FilmClip()), QString::fromStdString(film)));
  Open(film);
  ASSERT_TRUE(WaitPlaying());
  window->SeekBy(120);
  ASSERT_TRUE(testsupport::PumpUntil([&] { return window->Playback().PositionSeconds() >= 120; }, 15000))
      << window->Playback().PositionSeconds();
  const int left = window->Playback().PositionSeconds();
  Close();

  Open(film);
  const std::string notice = ResumeNoticeText(left - 5);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return window->Panel().TimeText() == notice; }, 5000))
      << window->Panel().TimeText();
  ASSERT_TRUE(WaitPlaying());
  // Playback reports seconds after the point it picked up at: it played
  // from there (from the start it would take minutes to get there).
  EXPECT_TRUE(testsupport::PumpUntil([&] { return window->Playback().PositionSeconds() >= left - 3; }, 10000))
      << window->Playback().PositionSeconds();
  EXPECT_LE(window->Playback().PositionSeconds(), left + 5);
}

TEST_F(ResumeAndSpeed, AtTwiceTheSpeedTheReadOutMovesTwiceAsFast) {
  Open(testsupport::FilmClip());
  ASSERT_TRUE(WaitPlaying());
  const double normal = ReadOutRate();
  window->OnCommand(ID_SPEED_200);
  EngineInfo info;
  EXPECT_EQ(window->Engine()->GetInfo(&info)->speed, 200);
  const double fast = ReadOutRate();
  EXPECT_NEAR(normal, 1.0, 0.3);
  EXPECT_NEAR(fast, 2.0, 0.5);
  EXPECT_TRUE(window->Action(ID_SPEED_200)->isChecked());
}

}  // namespace
