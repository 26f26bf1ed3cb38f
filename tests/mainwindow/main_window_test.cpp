// The main window offscreen, against a recording engine.
#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QScreen>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QUrl>
#include <fstream>

#include "core_app.h"
#include "dialogs/accelerator_key_help_dlg.h"
#include "dialogs/mplayer_out_dlg.h"
#include "dialogs/goto_time_dlg.h"
#include "dialogs/play_setting_dlg.h"
#include "dialogs/play_url_dlg.h"
#include "association/media_extensions.h"
#include "fake_engine.h"
#include "mainwindow/command_ids.h"
#include "mainwindow/kinovue_dlg.h"
#include "platform/file_name.h"
#include "platform/optical_drives.h"
#include "temp_dir.h"
#include "test_window.h"
#include "widget_app.h"

namespace {

struct FakeKeys : platform::KeyState {
  bool lshift = false, rshift = false, caps = false;
  bool IsDown(unsigned vk) const override {
    return (vk == platform::VK_LSHIFT && lshift) || (vk == platform::VK_RSHIFT && rshift);
  }
  bool IsCapsLockOn() const override { return caps; }
};

using testsupport::NoDrives;

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::WidgetApp();
    keys = std::make_shared<FakeKeys>();
    KinovueOptions options = testsupport::TestWindowOptions(folder, testsupport::FileTypeQuestion::AsSettingsSay);
    options.updateServer = "127.0.0.1:1";  // nobody listens: start-up checks end at once
    options.engineFactory = [this](const std::string&) {
      auto e = std::make_unique<FakeEngine>();
      engine = e.get();
      return e;
    };
    options.keys = keys;
    options.drives = std::make_shared<NoDrives>();
    options.runDialog = [this](QDialog& dialog) { return answer(dialog); };
    dlg = std::make_unique<CKinovueDlg>(std::move(options));
    ASSERT_TRUE(dlg->OnInitDialog());
  }
  void TearDown() override {
    dlg.reset();
  }
  void Pump() { QCoreApplication::processEvents(); }
  // The engine reports the end of a run.
  void Finish() {
    engine->state = ENGINE_STATE_STOPPED;
    dlg->OnMessage(WM_ENGINE_STATE, ENGINE_STATE_STOPPED, 0);
    platform::PostMessage(dlg->Handle(), WM_ENGINE_FINISHED, ENGINE_STATE_STOPPED, 0);
    Pump();
  }
  void Playing() {
    engine->state = ENGINE_STATE_PLAYING;
    dlg->OnMessage(WM_ENGINE_STATE, ENGINE_STATE_PLAYING, 0);
  }
  // The pointer moved to height y in the middle of the picture.
  static void MovePointer(QWidget* picture, int y) {
    const QPointF local(picture->width() / 2, y);
    QMouseEvent event(QEvent::MouseMove, local, picture->mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(picture, &event);
  }
  bool Enabled(int id) { return dlg->Action(id)->isEnabled(); }
  bool Checked(int id) { return dlg->Action(id)->isChecked(); }
  void SendKey(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, qtKey, modifiers);
    QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : dlg.get(), &press);
  }

  testsupport::TempDir folder;
  // How the test answers a dialog the window shows (cancel unless set).
  std::function<int(QDialog&)> answer = [](QDialog&) { return int(QDialog::Rejected); };
  std::shared_ptr<FakeKeys> keys;
  FakeEngine* engine = nullptr;
  std::unique_ptr<CKinovueDlg> dlg;
};

TEST_F(MainWindow, StartsTheEngineWithItsWindowsAndWritesItsSettings) {
  EXPECT_EQ(engine->startInfo.owner, dlg->Handle());
  EXPECT_EQ(engine->startInfo.videoWindow, dlg->VideoWidget()->winId());
  EXPECT_EQ(engine->startInfo.msgFinished, WM_ENGINE_FINISHED);
  IniFile ini(dlg->SettingsPath());
  int handle = 0;
  EXPECT_TRUE(ini.ReadInt("kinovue", "RunningHandle", handle));
  bool topmost = false;
  EXPECT_TRUE(ini.ReadBool("kinovue", "Topmost", topmost));
  EXPECT_TRUE(topmost);
}

TEST_F(MainWindow, OpeningWhileStoppedPlaysAtOnceAndWhilePlayingStopsFirst) {
  dlg->RequestOpen("/m/a.avi");
  Pump();
  EXPECT_EQ(engine->Played(), std::vector<std::string>{"/m/a.avi"});
  dlg->PlayList()->Add("/m/list1.avi");
  Playing();
  dlg->RequestOpen("/m/b.avi");
  EXPECT_EQ(engine->commands.back().code, ENGINE_CMD_STOP);
  Finish();
  EXPECT_EQ(engine->Played(), (std::vector<std::string>{"/m/a.avi", "/m/b.avi"}));  // the list did not advance
}

TEST_F(MainWindow, NextAndPreviousWrapAroundWhateverTheLoopSetting) {
  for (const char* p : {"/m/1.avi", "/m/2.avi", "/m/3.avi"}) dlg->PlayList()->Add(p);
  dlg->OnCommand(ID_PLAYLIST_LOOP);  // loop off
  ASSERT_FALSE(dlg->Settings().PlayListLoop);
  dlg->PlayList()->Play(2);  // the last item, through the play callback
  Pump();
  Playing();
  dlg->PlayNext();
  Finish();
  EXPECT_EQ(engine->Played().back(), "/m/1.avi");
  Playing();
  dlg->PlayPrevious();
  Finish();
  EXPECT_EQ(engine->Played().back(), "/m/3.avi");
}

TEST_F(MainWindow, NothingChosenLeavesThePlayerStoppedWithTheMenuRefreshed) {
  dlg->OnCommand(ID_AUTO_PLAY_FROM_LIST);  // off
  dlg->PlayList()->Add("/m/2.avi");
  dlg->RequestOpen("/m/1.avi");
  Pump();
  Playing();
  EXPECT_FALSE(Enabled(ID_PLAY));
  Finish();
  EXPECT_EQ(engine->Played().size(), 1u);
  EXPECT_TRUE(Enabled(ID_PLAY));  // the engine knows a medium to replay
  EXPECT_FALSE(Enabled(ID_STOP));
}

TEST_F(MainWindow, ASecondWindowEndsAndSaysWhetherItsFileWasLost) {
  const struct {
    std::string commandLine;
    int exitCode;
  } rows[] = {{"", 0}, {"/" + std::string(5000, 'x'), 1}};  // nothing to give; too long to give
  for (const auto& row : rows) {
    KinovueOptions options = testsupport::TestWindowOptions(folder, testsupport::FileTypeQuestion::AsSettingsSay);
    options.engineFactory = [](const std::string&) { return std::make_unique<FakeEngine>(); };
    options.keys = keys;
    options.drives = std::make_shared<NoDrives>();
    options.commandLine = row.commandLine;
    CKinovueDlg second(std::move(options));
    EXPECT_FALSE(second.OnInitDialog());
    EXPECT_EQ(second.ExitCode(), row.exitCode) << row.commandLine.size();
  }
}

TEST_F(MainWindow, TitleFollowsTheState) {
  engine->file = "/home/u/视频/clip.avi";
  const std::pair<int, const char*> cases[] = {{0, "Kinovue  正在缓冲数据...: clip.avi"},
                                               {1, "Kinovue  正在播放: clip.avi"},
                                               {2, "Kinovue  暂停: clip.avi"},
                                               {3, "Kinovue  停止: clip.avi"},
                                               {4, "Kinovue  无法播放剪辑: clip.avi"}};
  for (const auto& [state, title] : cases) {
    engine->state = state;
    dlg->OnMessage(WM_ENGINE_STATE, static_cast<std::uintptr_t>(state), 0);
    EXPECT_EQ(dlg->windowTitle().toStdString(), title);
  }
}

// The logo is read at the first paint, not when the window is built.
TEST_F(MainWindow, TheLogoIsPaintedWhileNothingPlaysAndNotWhilePlaying) {
  auto* back = dlg->findChild<QWidget*>("videoBackWindow");
  ASSERT_NE(back, nullptr);
  const auto logoPixels = [back] {
    const QImage image = back->grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) count += qGray(image.pixel(x, y)) > 48;
    return count;
  };
  EXPECT_GT(logoPixels(), 100);
  dlg->VideoWidget()->resize(0, 0);  // the picture would cover the middle
  Playing();
  EXPECT_EQ(logoPixels(), 0);
  Finish();
  EXPECT_GT(logoPixels(), 100);
}

TEST_F(MainWindow, PlaybackMenuEnablingFollowsTheState) {
  const std::vector<int> transport{ID_PLAY, ID_PAUSE, ID_STOP, ID_GO_TO, ID_NEXT, ID_PREVIOUS, ID_FRAME_STEP,
                                   ID_SEEK_FORWARD_10S};
  auto row = [&] {
    std::vector<bool> out;
    for (int id : transport) out.push_back(Enabled(id));
    return out;
  };
  EXPECT_EQ(row(), (std::vector<bool>{false, false, false, false, false, false, false, false}));  // no medium
  engine->file = "/m/a.avi";
  engine->state = ENGINE_STATE_PLAYING;
  dlg->RefreshPlaybackMenu();
  EXPECT_EQ(row(), (std::vector<bool>{false, true, true, true, true, true, true, true}));
  engine->state = ENGINE_STATE_PAUSED;
  dlg->RefreshPlaybackMenu();
  EXPECT_EQ(row(), (std::vector<bool>{true, false, true, true, true, true, true, true}));  // Go to unchanged
  engine->state = ENGINE_STATE_OPENING;
  dlg->RefreshPlaybackMenu();
  EXPECT_EQ(row(), (std::vector<bool>{false, false, false, false, false, false, true, true}));
  engine->state = ENGINE_STATE_STOPPED;
  dlg->RefreshPlaybackMenu();
  EXPECT_EQ(row(), (std::vector<bool>{true, false, false, false, false, false, false, false}));
}

TEST_F(MainWindow, ContextMenuGreysTheTransportWhileStopped) {
  for (int state : {ENGINE_STATE_STOPPED, ENGINE_STATE_PLAYING, ENGINE_STATE_PAUSED}) {
    engine->state = state;
    std::unique_ptr<QMenu> menu(dlg->BuildContextMenu());
    std::map<int, bool> enabled;
    for (QAction* a : menu->actions())
      if (!a->isSeparator()) enabled[a->data().toInt()] = a->isEnabled();
    EXPECT_EQ(enabled[ID_CONTEXT_PLAY], state == ENGINE_STATE_PAUSED);
    EXPECT_EQ(enabled[ID_CONTEXT_PAUSE], state == ENGINE_STATE_PLAYING);
    EXPECT_EQ(enabled[ID_CONTEXT_STOP], state != ENGINE_STATE_STOPPED);
    EXPECT_EQ(enabled[ID_CONTEXT_NEXT], state != ENGINE_STATE_STOPPED);
    EXPECT_TRUE(enabled[ID_CONTEXT_EXIT]);
  }
}

TEST_F(MainWindow, PlayModeChainGreysWhatCannotApply) {
  auto chain = [&] {
    return std::vector<bool>{Enabled(ID_AUTO_PLAY_FROM_LIST), Enabled(ID_PLAYLIST_RANDOM), Enabled(ID_PLAYLIST_LOOP)};
  };
  EXPECT_EQ(chain(), (std::vector<bool>{true, true, true}));
  dlg->OnCommand(ID_PLAYLIST_RANDOM);
  EXPECT_EQ(chain(), (std::vector<bool>{true, true, false}));
  dlg->OnCommand(ID_AUTO_PLAY_FROM_LIST);
  EXPECT_EQ(chain(), (std::vector<bool>{true, false, false}));
  dlg->OnCommand(ID_REPEAT_CURRENT);
  EXPECT_EQ(chain(), (std::vector<bool>{false, false, false}));
  IniFile ini(dlg->SettingsPath());
  bool value = false;
  ASSERT_TRUE(ini.ReadBool("kinovue", "RepeatCurrent", value));
  EXPECT_TRUE(value);
  dlg->OnCommand(ID_PLAYLIST_BACKWARD);
  EXPECT_TRUE(Checked(ID_PLAYLIST_BACKWARD));
  EXPECT_FALSE(Checked(ID_PLAYLIST_FORWARD));
}

TEST_F(MainWindow, SettingMessagesMoveTheRadioChecks) {
  EngineSetting aspect{ENGINE_SETTING_ASPECT, 2, 0};
  dlg->OnMessage(WM_ENGINE_SETTING, reinterpret_cast<std::uintptr_t>(&aspect), 0);
  EXPECT_TRUE(Checked(ID_ASPECT_16_9));
  EXPECT_FALSE(Checked(ID_ASPECT_AUTO));
  EngineSetting bad{ENGINE_SETTING_ASPECT, 9, 0};
  dlg->OnMessage(WM_ENGINE_SETTING, reinterpret_cast<std::uintptr_t>(&bad), 0);
  EXPECT_TRUE(Checked(ID_ASPECT_16_9));
  // Choosing an item hands the position to the engine; the check waits for its answer.
  dlg->OnCommand(ID_ASPECT_4_3);
  ASSERT_EQ(engine->settings.size(), 1u);
  EXPECT_EQ(engine->settings[0].value, 1);
  EXPECT_TRUE(Checked(ID_ASPECT_16_9));
}

TEST_F(MainWindow, RecentFilesMenuKeepsFourMostRecentFirst) {
  for (const char* f : {"/m/1.avi", "/m/2.avi", "/m/3.avi", "/m/4.avi", "/m/5.avi"}) {
    std::string file = f;
    dlg->OnMessage(WM_ENGINE_OPEN, reinterpret_cast<std::uintptr_t>(file.c_str()), 0);
  }
  QMenu* recent = dlg->RecentMenu();
  ASSERT_EQ(recent->actions().size(), 4);
  EXPECT_EQ(recent->actions()[0]->text().toStdString(), "/m/5.avi");
  EXPECT_EQ(recent->actions()[3]->text().toStdString(), "/m/2.avi");
  EXPECT_EQ(recent->actions()[0]->data().toInt(), 0xFFFF);  // no drives: the ids start at the top
  EXPECT_EQ(recent->actions()[3]->data().toInt(), 0xFFFC);
  recent->actions()[1]->trigger();  // "/m/4.avi"
  Pump();
  EXPECT_EQ(engine->Played().back(), "/m/4.avi");
  dlg->OnCommand(ID_CLEAR_RECENT);
  EXPECT_TRUE(recent->actions().isEmpty());
  std::string next = "/m/6.avi";
  dlg->OnMessage(WM_ENGINE_OPEN, reinterpret_cast<std::uintptr_t>(next.c_str()), 0);
  ASSERT_EQ(recent->actions().size(), 1);
  EXPECT_EQ(recent->actions()[0]->text().toStdString(), "/m/6.avi");
}

TEST_F(MainWindow, KeysAcceleratorsEscapeAndCapitalT) {
  dlg->show();
  SendKey(Qt::Key_Escape);
  EXPECT_TRUE(dlg->isVisible());      // Esc never closes the window
  EXPECT_TRUE(engine->keys.empty());  // nor reaches the engine
  EXPECT_FALSE(dlg->Modes().IsFullScreen());
  const bool topmost = dlg->Settings().Topmost;
  keys->lshift = true;
  SendKey(Qt::Key_T, Qt::ShiftModifier);
  EXPECT_NE(dlg->Settings().Topmost, topmost);
  keys->caps = true;  // Shift with Caps Lock: a lower-case t, for the engine
  SendKey(Qt::Key_T, Qt::ShiftModifier);
  EXPECT_NE(dlg->Settings().Topmost, topmost);
  ASSERT_EQ(engine->keys.size(), 1u);
  EXPECT_EQ(engine->keys[0], static_cast<unsigned>('T'));
  keys->lshift = false;  // Caps Lock alone: capital
  SendKey(Qt::Key_T);
  EXPECT_EQ(dlg->Settings().Topmost, topmost);
  SendKey(Qt::Key_R, Qt::ControlModifier);  // accelerator: native size, not the engine
  EXPECT_EQ(engine->keys.size(), 1u);
  SendKey(Qt::Key_Space);
  EXPECT_EQ(engine->keys.back(), static_cast<unsigned>(platform::VK_SPACE));
}

TEST_F(MainWindow, DroppedFilesGoToTheFrontInOrderAndTheLastPlays) {
  dlg->show();
  dlg->PlayList()->Add("/m/old.avi");
  auto drop = [&](const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(dlg.get(), &enter);
    QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(dlg.get(), &dropped);
    Pump();
  };
  drop({QUrl::fromLocalFile("/m/a.avi"), QUrl::fromLocalFile("/m/b.avi"), QUrl::fromLocalFile("/m/c.avi")});
  CGeneralPlayList* list = dlg->PlayList();
  ASSERT_EQ(list->Count(), 4);
  EXPECT_EQ(list->ItemAt(0), "/m/a.avi");
  EXPECT_EQ(list->ItemAt(1), "/m/b.avi");
  EXPECT_EQ(list->ItemAt(2), "/m/c.avi");
  EXPECT_EQ(engine->Played(), std::vector<std::string>{"/m/c.avi"});
  Playing();
  drop({QUrl::fromLocalFile("/m/old.avi")});  // already listed: not a second time
  EXPECT_EQ(list->Count(), 4);
  Finish();
  EXPECT_EQ(engine->Played().back(), "/m/old.avi");
  // A name in GBK reaches the engine as its bytes, not as replacement characters.
  Playing();
  drop({QUrl::fromEncoded("file:///m/%D6%D0%CE%C4.avi")});
  Finish();
  EXPECT_EQ(engine->Played().back(), "/m/\xd6\xd0\xce\xc4.avi");
}

TEST_F(MainWindow, ClosingStopsTheEngineAndGivesUpAfterAQuietWait) {
  dlg->RequestOpen("/m/a.avi");
  Pump();
  Playing();
  const auto codes = engine->codes;
  const auto start = platform::TickCountMs();
  dlg->OnCancel();  // this engine never reports the end of its run
  EXPECT_EQ(codes->back(), ENGINE_CMD_STOP);
  EXPECT_LT(platform::TickCountMs() - start, 3000u);
  EXPECT_EQ(dlg->Engine(), nullptr);
  EXPECT_FALSE(dlg->isVisible());
}

}  // namespace

namespace {

TEST_F(MainWindow, ViewMenuFollowsSizeTopmostAndModes) {
  dlg->RefreshViewMenu();
  EXPECT_TRUE(Checked(ID_NATIVE_SIZE));
  EXPECT_FALSE(Enabled(ID_NATIVE_SIZE));
  EXPECT_TRUE(Enabled(ID_DOUBLE_SIZE));
  dlg->OnCommand(ID_DOUBLE_SIZE);
  EXPECT_TRUE(Checked(ID_DOUBLE_SIZE));
  EXPECT_FALSE(Enabled(ID_DOUBLE_SIZE));
  EXPECT_TRUE(Enabled(ID_NATIVE_SIZE));
  IniFile ini(dlg->SettingsPath());
  int multiple = 0;
  ASSERT_TRUE(ini.ReadInt("kinovue", "VideoMutiple", multiple));
  EXPECT_EQ(multiple, 2);
  dlg->OnCommand(ID_TOPMOST);
  EXPECT_FALSE(Checked(ID_TOPMOST));
  dlg->OnCommand(ID_PLAYLIST_RANDOM);
  dlg->RefreshViewMenu();
  EXPECT_TRUE(Checked(ID_PLAYLIST_RANDOM));
  EXPECT_FALSE(Checked(ID_PLAYLIST_LOOP));
}

TEST_F(MainWindow, SoundOnlyCollapsesToTheStripAndVideoGrowsBackByTheSameHeight) {
  dlg->show();
  const int fullHeight = dlg->height();
  const int pictureHeight = dlg->VideoBackWidget()->height();
  engine->info.hasAudio = true;
  dlg->OnMessage(WM_ENGINE_STARTED, 0, 0);
  EXPECT_FALSE(dlg->Modes().IsVideoPanel());
  EXPECT_TRUE(Checked(ID_AUDIO_PANEL));
  EXPECT_EQ(fullHeight - dlg->height(), pictureHeight);
  engine->info.hasVideo = true;
  engine->info.displayWidth = 320;
  engine->info.displayHeight = 240;
  dlg->OnMessage(WM_ENGINE_STARTED, 0, 0);
  EXPECT_TRUE(dlg->Modes().IsVideoPanel());
  EXPECT_TRUE(Checked(ID_VIDEO_PANEL));
  EXPECT_GE(dlg->height(), fullHeight);
}

TEST_F(MainWindow, FullScreenCoversTheScreenAndLeavingRestoresTheGeometry) {
  dlg->show();
  dlg->move(40, 30);
  const QRect before = dlg->geometry();
  dlg->OnCommand(ID_FULL_SCREEN);
  EXPECT_TRUE(dlg->Modes().IsFullScreen());
  EXPECT_TRUE(Checked(ID_FULL_SCREEN));
  EXPECT_EQ(dlg->VideoBackWidget()->size(), dlg->centralWidget()->size());  // no strip below the picture
  engine->state = ENGINE_STATE_PLAYING;
  dlg->OnCommand(ID_FULL_SCREEN);
  EXPECT_FALSE(dlg->Modes().IsFullScreen());
  EXPECT_EQ(dlg->geometry(), before);
  EXPECT_TRUE(dlg->Panel().Panel()->isVisible());
}

}  // namespace


namespace {

// A main window whose dialogs are answered by the test.
using AnsweredDialogs = MainWindow;

TEST_F(AnsweredDialogs, OpenFileEmptiesTheDiscQueueAndRemembersThePath) {
  const std::string chosen = folder.File("chosen.avi");
  testsupport::WriteFileBytes(chosen, "not really a film");
  answer = [&](QDialog& dialog) {
    auto* files = qobject_cast<QFileDialog*>(&dialog);
    if (!files) return int(QDialog::Rejected);
    files->selectFile(QString::fromStdString(chosen));
    return int(QDialog::Accepted);
  };
  dlg->Playback().DiscQueue() = {"/cd/MPEGAV/AVSEQ01.DAT"};
  dlg->OnCommand(ID_OPEN_FILE);
  Pump();
  EXPECT_EQ(engine->Played(), std::vector<std::string>{chosen});
  EXPECT_TRUE(dlg->Playback().DiscQueue().empty());
  EXPECT_EQ(dlg->Settings().LastOpen, chosen);
}

TEST_F(AnsweredDialogs, OpenFileTakesANameThatIsNotUtf8) {
  const std::string chosen = folder.File("\xd6\xd0\xce\xc4.avi");  // 中文.avi in GBK
  std::ofstream(chosen) << "not really a film";
  answer = [&](QDialog& dialog) {
    auto* files = qobject_cast<QFileDialog*>(&dialog);
    if (!files) return int(QDialog::Rejected);
    files->setDirectory(QString::fromStdString(folder.Path()));
    files->selectFile(platform::FileNameToQt(chosen));
    dialog.accept();  // the dialog's own check that the file exists
    return files->result();
  };
  dlg->OnCommand(ID_OPEN_FILE);
  Pump();
  EXPECT_EQ(engine->Played(), std::vector<std::string>{chosen});
  EXPECT_EQ(dlg->Settings().LastOpen, chosen);
}

TEST_F(AnsweredDialogs, ViewMenuOpensTheEngineOutputAndHelpShowsTheKeys) {
  QString shown;
  answer = [&](QDialog& dialog) {
    if (qobject_cast<CAcceleratorKeyHelpDlg*>(&dialog)) shown = dialog.windowTitle();
    return int(QDialog::Rejected);
  };
  dlg->Action(ID_KEY_HELP)->trigger();
  EXPECT_EQ(shown, QStringLiteral("快捷键帮助"));

  QAction* item = dlg->Action(ID_SHOW_ENGINE_OUTPUT);
  EXPECT_EQ(item->text(), QStringLiteral("引擎输出信息"));
  item->trigger();
  CMplayerOutDlg* output = dlg->OutputWindow();
  ASSERT_NE(output, nullptr);
  EXPECT_TRUE(output->isVisible());
  output->reject();
  item->trigger();  // the same window again, registered again
  EXPECT_EQ(dlg->OutputWindow(), output);
  EXPECT_NE(engine->logWindow, 0u);
  dlg->OnCancel();  // the engine is gone; quitting then closes every window
  EXPECT_TRUE(output->close());
}

TEST_F(AnsweredDialogs, ARecentFileWaitsBehindTheDiscQueue) {
  std::string file = "/m/recent.avi";
  dlg->OnMessage(WM_ENGINE_OPEN, reinterpret_cast<std::uintptr_t>(file.c_str()), 0);
  dlg->Playback().DiscQueue() = {"/cd/MPEGAV/AVSEQ01.DAT"};
  dlg->RecentMenu()->actions().first()->trigger();
  Pump();
  EXPECT_EQ(engine->Played(), std::vector<std::string>{"/cd/MPEGAV/AVSEQ01.DAT"});
  Playing();
  Finish();
  EXPECT_EQ(engine->Played().back(), "/m/recent.avi");
}

TEST_F(AnsweredDialogs, AddressDialogOpensWhatWasTypedAndAnEmptyTextNothing) {
  std::string typed = "http://127.0.0.1:8080/live.avi";
  answer = [&](QDialog& dialog) {
    auto* url = dynamic_cast<CPlayUrlDlg*>(&dialog);
    if (!url) return int(QDialog::Rejected);
    url->url = typed;
    return int(QDialog::Accepted);
  };
  dlg->OnCommand(ID_OPEN_URL);
  Pump();
  EXPECT_EQ(engine->Played(), std::vector<std::string>{typed});
  typed.clear();
  dlg->OnCommand(ID_OPEN_URL);
  Pump();
  EXPECT_EQ(engine->Played().size(), 1u);
  EXPECT_EQ(dlg->Settings().LastOpen, "http://127.0.0.1:8080/live.avi");
}

TEST_F(AnsweredDialogs, GoToShowsThePositionAndSeeksWithinTheLength) {
  std::string shown, typed = "00:61:00";
  answer = [&](QDialog& dialog) {
    auto* go = dynamic_cast<CGotoTimeDlg*>(&dialog);
    if (!go) return int(QDialog::Rejected);
    shown = go->initialText;
    go->timeText = typed;
    return int(QDialog::Accepted);
  };
  dlg->OnMessage(WM_ENGINE_LENGTH, 4000, 0);
  dlg->OnMessage(WM_ENGINE_POSITION, 3725, 4000);
  dlg->OnCommand(ID_GO_TO);
  EXPECT_EQ(shown, "01:02:05");
  EXPECT_EQ(engine->commands.back().code, ENGINE_CMD_SEEK_TO);
  EXPECT_EQ(engine->commands.back().arg, 3660);
  dlg->OnMessage(WM_ENGINE_LENGTH, 3000, 0);
  dlg->OnCommand(ID_GO_TO);
  EXPECT_EQ(engine->commands.back().arg, 0);  // beyond the length
}

TEST_F(AnsweredDialogs, PlaySettingsSendTheCacheOnlyAboveZero) {
  int value = 4096;
  answer = [&](QDialog& dialog) {
    auto* settings = dynamic_cast<CPlaySettingDlg*>(&dialog);
    if (!settings) return int(QDialog::Rejected);
    settings->cacheKBytes = value;
    return int(QDialog::Accepted);
  };
  dlg->OnCommand(ID_PLAY_SETTINGS);
  ASSERT_EQ(engine->Count(ENGINE_CMD_SET_CACHE), 1);
  EXPECT_EQ(engine->commands.back().arg, 4096);
  value = 0;
  dlg->OnCommand(ID_PLAY_SETTINGS);
  EXPECT_EQ(engine->Count(ENGINE_CMD_SET_CACHE), 1);
}

}  // namespace

namespace {

struct TwoDrives : platform::OpticalDrives {
  std::vector<std::string> drives;
  std::vector<std::string> List() const override { return drives; }
};

TEST(MainWindowDiscs, DriveItemsComeFirstAndADiscPlaysItsQueueInOrder) {
  testsupport::WidgetApp();
  testsupport::TempDir folder;
  testsupport::TempDir dvd;
  QDir().mkpath(QString::fromStdString(dvd.File("VIDEO_TS")));
  for (const char* name : {"VTS_01_1.VOB", "VTS_01_2.vob", "VIDEO_TS.IFO"})
    testsupport::WriteFileBytes(dvd.File("VIDEO_TS/") + name, "x");
  auto drives = std::make_shared<TwoDrives>();
  drives->drives = {dvd.Path(), folder.File("empty-drive")};
  FakeEngine* engine = nullptr;
  KinovueOptions options = testsupport::TestWindowOptions(folder, testsupport::FileTypeQuestion::AsSettingsSay);
  options.updateServer = "127.0.0.1:1";
  options.engineFactory = [&](const std::string&) {
    auto e = std::make_unique<FakeEngine>();
    engine = e.get();
    return e;
  };
  options.keys = std::make_shared<FakeKeys>();
  options.drives = drives;
  options.runDialog = [](QDialog&) { return int(QDialog::Rejected); };
  CKinovueDlg dlg(std::move(options));
  ASSERT_TRUE(dlg.OnInitDialog());
  std::string file = "/m/recent.avi";
  dlg.OnMessage(WM_ENGINE_OPEN, reinterpret_cast<std::uintptr_t>(file.c_str()), 0);
  EXPECT_EQ(dlg.RecentMenu()->actions().first()->data().toInt(), 0xFFFD);  // below the two drive ids
  dlg.OnCommand(0xFFFF);  // the first drive
  QCoreApplication::processEvents();
  ASSERT_EQ(engine->Played().size(), 1u);
  EXPECT_NE(engine->Played()[0].find("VTS_01_"), std::string::npos);
  EXPECT_EQ(dlg.Playback().DiscQueue().size(), 1u);  // the other VOB waits; the IFO is no video
  dlg.OnCommand(0xFFFE);  // a drive without a disc queues nothing
  EXPECT_TRUE(dlg.Playback().DiscQueue().empty());
}

}  // namespace

namespace {

TEST_F(MainWindow, TheVideoAreaTakesTheNativeOrDoubleSizeAboveTheSmallestWindow) {
  dlg->show();
  const QSize smallest = dlg->size();
  engine->info.hasVideo = true;
  engine->info.displayWidth = 320;
  engine->info.displayHeight = 240;
  dlg->OnMessage(WM_ENGINE_STARTED, 0, 0);
  // Too small for the window: it keeps its first size, the picture inside it.
  EXPECT_EQ(dlg->size(), smallest);
  EXPECT_GE(dlg->VideoBackWidget()->width(), 320);
  EXPECT_GE(dlg->VideoBackWidget()->height(), 240);
  dlg->OnCommand(ID_DOUBLE_SIZE);
  EXPECT_EQ(dlg->VideoWidget()->height(), 480);  // twice the clip's height; the width follows the screen
}

TEST_F(MainWindow, ALargePictureGrowsTheWindowToItsNativeSize) {
  dlg->show();
  engine->info.hasVideo = true;
  engine->info.displayWidth = 720;  // the offscreen screen is 800 x 800
  engine->info.displayHeight = 405;
  dlg->OnMessage(WM_ENGINE_STARTED, 0, 0);
  EXPECT_EQ(dlg->VideoBackWidget()->size(), QSize(720, 405));
  // The picture keeps its own proportions, whatever the screen's (a square
  // one here): at its native size it fills the area exactly.
  EXPECT_EQ(dlg->VideoWidget()->geometry(), QRect(0, 0, 720, 405));
}

TEST_F(MainWindow, APictureLargerThanTheScreenKeepsTheWindowOnItWithItsProportions) {
  dlg->show();
  engine->info.hasVideo = true;
  // A real 4K clip, then a size a medium's own text can forge.
  for (const QSize picture : {QSize(3840, 2160), QSize(16384, 16384)}) {
    engine->info.displayWidth = picture.width();
    engine->info.displayHeight = picture.height();
    dlg->OnMessage(WM_ENGINE_STARTED, 0, 0);
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(dlg->frameGeometry()))
        << picture.width();
    if (picture.width() == 3840) {
      const QSize area = dlg->VideoBackWidget()->size();
      EXPECT_NEAR(double(area.width()) / area.height(), 16.0 / 9.0, 0.01);
    }
  }
}

}  // namespace

#include <QMouseEvent>

namespace {

TEST_F(MainWindow, FullScreenPanelSlidesInAtTheBottomAndTheCursorHidesWhilePlaying) {
  dlg->show();
  Playing();
  dlg->OnCommand(ID_FULL_SCREEN);
  QWidget* picture = dlg->VideoBackWidget();
  auto move = [&](int y) { MovePointer(picture, y); };
  move(10);
  EXPECT_FALSE(dlg->Modes().IsPanelOverlay());
  move(picture->height() - 5);  // into the lowest 70 pixels
  EXPECT_TRUE(dlg->Modes().IsPanelOverlay());
  EXPECT_TRUE(dlg->Panel().Panel()->isVisible());
  move(20);  // back up over the picture
  EXPECT_FALSE(dlg->Modes().IsPanelOverlay());
  for (int tick = 0; tick < 3; ++tick) dlg->Modes().HideCursorTick();
  EXPECT_FALSE(dlg->Modes().CursorVisible());
  move(30);  // the next movement shows it again
  EXPECT_TRUE(dlg->Modes().CursorVisible());
  engine->state = ENGINE_STATE_PAUSED;
  for (int tick = 0; tick < 3; ++tick) dlg->Modes().HideCursorTick();
  EXPECT_TRUE(dlg->Modes().CursorVisible());  // never hidden while paused
  dlg->OnCommand(ID_FULL_SCREEN);
  EXPECT_TRUE(dlg->Modes().CursorVisible());
}


// Faults users met: each of these once went wrong.
TEST_F(MainWindow, AFailedRunKeepsSayingSoWithItsReason) {
  engine->file = "/m/broken.avi";
  for (int state : {ENGINE_STATE_OPENING, ENGINE_STATE_ABORTED, ENGINE_STATE_STOPPED}) {
    engine->state = state;
    if (state == ENGINE_STATE_ABORTED) dlg->OnMessage(WM_ENGINE_ERROR, reinterpret_cast<std::uintptr_t>("Failed to open /m/broken.avi."), 0);
    dlg->OnMessage(WM_ENGINE_STATE, static_cast<std::uintptr_t>(state), 0);
  }
  Finish();
  EXPECT_EQ(dlg->windowTitle().toStdString(), "Kinovue  无法播放剪辑: broken.avi");
  EXPECT_EQ(dlg->Panel().TimeText(), "Failed to open /m/broken.avi.");
  dlg->OnMessage(WM_ENGINE_STATE, ENGINE_STATE_OPENING, 0);  // the next try clears both
  Finish();
  EXPECT_EQ(dlg->windowTitle().toStdString(), "Kinovue  停止: broken.avi");
  EXPECT_EQ(dlg->Panel().TimeText(), "00:00:00/00:00:00");
}

// What the window tells the engine about where a local file starts, and
// what it keeps when the file is left.
TEST_F(MainWindow, ALocalFilePicksUpWhereItWasLeftUntilRememberingIsSwitchedOff) {
  const std::string film = folder.File("film.avi");
  ASSERT_TRUE(testsupport::WriteFileBytes(film, "not really a film"));
  auto open = [&] {
    dlg->RequestOpen(film);
    Pump();
    const auto& c = engine->commands;
    EXPECT_EQ(c.back().file, film);
    // The start goes to the engine just before the medium it is for.
    EXPECT_EQ(c.end()[-2].code, ENGINE_CMD_RESUME_AT);
    return c.end()[-2].arg;
  };
  auto playUntil = [&](int seconds) {
    dlg->OnMessage(WM_ENGINE_STATE, ENGINE_STATE_OPENING, 0);
    dlg->OnMessage(WM_ENGINE_LENGTH, 3600, 0);
    Playing();
    dlg->OnMessage(WM_ENGINE_POSITION, static_cast<std::uintptr_t>(seconds), 3600);
    dlg->StopPlayback();
    Finish();
  };
  EXPECT_EQ(open(), 0);
  playUntil(1200);
  const std::string stored = testsupport::ReadFileBytes(folder.File("dat/PlayPositions.dat"));
  EXPECT_NE(stored.find("\n1200 17 "), std::string::npos) << stored;

  EXPECT_EQ(open(), 1195);
  EXPECT_EQ(dlg->Panel().TimeText(), "从 00:19:55 继续播放");
  // The engine hands the start back with the length; while the medium still
  // opens only a seek to the second itself reaches it.
  dlg->OnMessage(WM_ENGINE_LENGTH, 3600, 1195);
  EXPECT_EQ(engine->commands.back().code, ENGINE_CMD_SEEK_TO);
  EXPECT_EQ(engine->commands.back().arg, 1195);
  Playing();
  dlg->OnMessage(WM_ENGINE_POSITION, 1196, 3600);
  EXPECT_EQ(dlg->Panel().TimeText(), "从 00:19:55 继续播放") << "the notice stays a few seconds";
  dlg->StopPlayback();
  Finish();

  dlg->OnCommand(ID_REMEMBER_POSITION);
  EXPECT_FALSE(Checked(ID_REMEMBER_POSITION));
  bool remember = true;
  EXPECT_TRUE(IniFile(dlg->SettingsPath()).ReadBool("kinovue", "RememberPlayPosition", remember));
  EXPECT_FALSE(remember);
  EXPECT_EQ(open(), 0);
  dlg->OnCommand(ID_REMEMBER_POSITION);  // nothing was forgotten meanwhile
  EXPECT_EQ(open(), 1191);
}

TEST_F(MainWindow, SpeedKeysAskTheEngineAndItsAnswerMovesTheCheck) {
  dlg->show();
  engine->info.speed = 150;
  const struct {
    int key;
    Qt::KeyboardModifiers modifiers;
    std::intptr_t speed;  // -1: not a speed key
  } keys[] = {{Qt::Key_BraceRight, Qt::ShiftModifier, 200}, {Qt::Key_BraceLeft, Qt::ShiftModifier, 125},
              {Qt::Key_Backspace, Qt::NoModifier, 100}, {Qt::Key_BraceLeft, Qt::ShiftModifier | Qt::ControlModifier, -1}};
  for (const auto& k : keys) {
    engine->commands.clear();
    SendKey(k.key, k.modifiers);
    EXPECT_EQ(engine->Count(ENGINE_CMD_SET_SPEED) ? engine->commands.back().arg : -1, k.speed) << k.key;
  }
  EXPECT_TRUE(engine->keys.empty()) << "speed keys are the window's";
  EngineSetting speed{ENGINE_SETTING_SPEED, 75, 0};
  dlg->OnMessage(WM_ENGINE_SETTING, reinterpret_cast<std::uintptr_t>(&speed), 0);
  EXPECT_TRUE(Checked(ID_SPEED_75));
  speed.value = 110;  // set from outside, between the steps: no item
  dlg->OnMessage(WM_ENGINE_SETTING, reinterpret_cast<std::uintptr_t>(&speed), 0);
  for (int id : {ID_SPEED_50, ID_SPEED_75, ID_SPEED_100, ID_SPEED_125, ID_SPEED_150, ID_SPEED_200})
    EXPECT_FALSE(Checked(id)) << id;
}

TEST_F(MainWindow, NothingNewPlaysOnceClosingHasBegun) {
  dlg->OnCommand(ID_REPEAT_CURRENT);
  dlg->RequestOpen("/m/a.avi");
  Pump();
  Playing();
  // The run's end arrives during the shutdown wait.
  platform::PostMessage(dlg->Handle(), WM_ENGINE_FINISHED, ENGINE_STATE_STOPPED, 0);
  const auto codes = engine->codes;
  dlg->OnCancel();
  EXPECT_EQ(std::count(codes->begin(), codes->end(), int(ENGINE_CMD_PLAY)), 1);
}

TEST_F(MainWindow, AcceleratorsNeedTheirExactModifiers) {
  dlg->show();
  int asked = 0;
  answer = [&](QDialog&) {
    ++asked;
    return int(QDialog::Rejected);
  };
  SendKey(Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(asked, 0);
  SendKey(Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(asked, 1);
}

TEST_F(MainWindow, LeavingFullScreenDuringTheCursorCountdownDoesNotStopLaterHiding) {
  dlg->show();
  Playing();
  QWidget* picture = dlg->VideoBackWidget();
  auto move = [&](int y) { MovePointer(picture, y); };
  dlg->OnCommand(ID_FULL_SCREEN);
  move(10);
  dlg->Modes().HideCursorTick();
  dlg->OnCommand(ID_FULL_SCREEN);  // left within the countdown
  dlg->OnCommand(ID_FULL_SCREEN);
  move(20);
  for (int tick = 0; tick < 3; ++tick) dlg->Modes().HideCursorTick();
  EXPECT_FALSE(dlg->Modes().CursorVisible());
  dlg->OnCommand(ID_FULL_SCREEN);
}

TEST_F(MainWindow, TheSmallestHeightComesBackAfterASoundOnlyMedium) {
  dlg->show();
  const int smallest = dlg->minimumHeight();
  for (int round = 0; round < 3; ++round) {
    engine->info = EngineInfo{};
    engine->info.hasAudio = true;
    dlg->OnMessage(WM_ENGINE_STARTED, 0, 0);
    engine->info.hasVideo = true;
    engine->info.displayWidth = 320;
    engine->info.displayHeight = 240;
    dlg->OnMessage(WM_ENGINE_STARTED, 0, 0);
    EXPECT_EQ(dlg->minimumHeight(), smallest) << round;
  }
}

TEST(MainWindowAssociation, TheStartUpCheckAsksOnlyWhileAnExtensionIsUnassociatedAndTheMenuAlwaysAsks) {
  testsupport::WidgetApp();
  const struct {
    const char* what;
    bool associateAll;
    const char* settings;
    int startUpDialogs;
  } rows[] = {
      {"first start", false, "", 1},
      {"all associated", true, "", 0},
      {"check switched off", false, "[kinovue]\nCheckFileAssociate=0\n", 0},
  };
  for (const auto& row : rows) {
    testsupport::TempDir folder;
    KinovueOptions options = testsupport::TestWindowOptions(folder, testsupport::FileTypeQuestion::AsSettingsSay);
    const AssociationPlaces places = options.association;
    if (row.associateAll) {
      FileAssociation assoc(places);
      for (const MediaExtension& e : kMediaExtensionTable) assoc.Associate(e.extension, e.type);
    }
    QDir().mkpath(QString::fromStdString(folder.File("dat")));
    if (*row.settings) testsupport::WriteFileBytes(folder.File("dat/kinovue.ini"), row.settings);
    std::vector<QString> shown;
    options.engineFactory = [](const std::string&) { return std::make_unique<FakeEngine>(); };
    options.keys = std::make_shared<FakeKeys>();
    options.drives = std::make_shared<NoDrives>();
    options.runDialog = [&](QDialog& dialog) {
      EXPECT_FALSE(dialog.parentWidget()->isVisible()) << "the main window runs only after the check";
      shown.push_back(dialog.windowTitle());
      return int(QDialog::Rejected);
    };
    CKinovueDlg dlg(std::move(options));
    ASSERT_TRUE(dlg.OnInitDialog());
    EXPECT_EQ(shown.size(), std::size_t(row.startUpDialogs)) << row.what;
    // The registry file holds the three file types either way.
    EXPECT_EQ(platform::Registry(platform::Registry::ClassesPath(places.configHome)).KeyExists("kinovue_2\\DefaultIcon"),
              row.startUpDialogs == 1 || row.associateAll) << row.what;
    dlg.OnCommand(ID_FILE_ASSOCIATION);
    ASSERT_EQ(shown.size(), std::size_t(row.startUpDialogs + 1)) << row.what;
    EXPECT_EQ(shown.back(), QStringLiteral("文件关联"));
  }
}

TEST(MainWindowStart, WithoutItsOwnPathTheProgramSaysSoAndEndsBeforeWritingAnything) {
  testsupport::WidgetApp();
  testsupport::TempDir folder;
  const QString cwdBefore = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(folder.Path())));
  std::vector<QString> shown;
  KinovueOptions options = testsupport::TestWindowOptions(folder, testsupport::FileTypeQuestion::AsSettingsSay);
  options.programFolder.clear();  // the window finds its folder itself
  options.executableLink = folder.File("no-proc/self/exe");
  options.keys = std::make_shared<FakeKeys>();
  options.engineFactory = [](const std::string&) { return std::make_unique<FakeEngine>(); };
  options.drives = std::make_shared<NoDrives>();
  options.runDialog = [&](QDialog& dialog) {
    auto* box = qobject_cast<QMessageBox*>(&dialog);
    shown.push_back(box ? box->text() : dialog.windowTitle());
    return int(QDialog::Accepted);
  };
  {
    CKinovueDlg dlg(std::move(options));
    EXPECT_FALSE(dlg.OnInitDialog());
  }
  EXPECT_EQ(shown, std::vector<QString>{"GetModuleFileName() failed!"});
  EXPECT_FALSE(QDir(QString::fromStdString(folder.File("dat"))).exists());  // no guessing "./"
  QDir::setCurrent(cwdBefore);
}

// Announces an opened file at once, on the caller's thread, as the real
// engine does while the window may still be building itself.
struct AnnouncingEngine : FakeEngine {
  bool Execute(const EngineCommand* c) override {
    const bool ok = FakeEngine::Execute(c);
    if (c->code == ENGINE_CMD_PLAY && c->arg) {
      platform::SendMessage(startInfo.owner, WM_ENGINE_OPEN, reinterpret_cast<std::uintptr_t>(file.c_str()), 0);
      platform::SendMessage(startInfo.owner, WM_ENGINE_STATE, ENGINE_STATE_OPENING, 0);
    }
    return ok;
  }
};

TEST(MainWindowStart, ACommandLineFileStartedBeforeTheMenusExistStillShowsInThem) {
  testsupport::WidgetApp();
  testsupport::TempDir folder;
  AnnouncingEngine* engine = nullptr;
  KinovueOptions options = testsupport::TestWindowOptions(folder, testsupport::FileTypeQuestion::AsSettingsSay);
  options.commandLine = "\"/m/first.avi\"";
  options.runDialog = [](QDialog&) { return int(QDialog::Rejected); };
  options.engineFactory = [&](const std::string&) {
    auto e = std::make_unique<AnnouncingEngine>();
    engine = e.get();
    return e;
  };
  options.keys = std::make_shared<FakeKeys>();
  options.drives = std::make_shared<NoDrives>();
  CKinovueDlg dlg(std::move(options));
  ASSERT_TRUE(dlg.OnInitDialog());
  EXPECT_EQ(engine->Played(), std::vector<std::string>{"/m/first.avi"});
  ASSERT_FALSE(dlg.RecentMenu()->actions().isEmpty());
  EXPECT_EQ(dlg.RecentMenu()->actions().first()->text(), "/m/first.avi");
  const struct {
    int id;
    bool enabled;
  } opening[] = {{ID_PLAY, false}, {ID_PAUSE, false}, {ID_NEXT, false}, {ID_PREVIOUS, false}};
  for (const auto& row : opening) EXPECT_EQ(dlg.Action(row.id)->isEnabled(), row.enabled) << row.id;
  EXPECT_EQ(dlg.windowTitle(), "Kinovue  正在缓冲数据...: first.avi");
}

}  // namespace
