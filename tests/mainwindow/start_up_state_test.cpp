// The main window as it starts: what the engine announced before the window
// was built is shown once it is, and a data folder that cannot be written
// is said once, without a dialog, with nothing lost.
#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QMenu>

#include "core_app.h"
#include "fake_engine.h"
#include "full_disk.h"
#include "mainwindow/command_ids.h"
#include "mainwindow/kinovue_dlg.h"
#include "temp_dir.h"
#include "test_media.h"
#include "test_window.h"
#include "widget_app.h"

namespace {

using testsupport::ReadFileBytes;

struct StartedWindow {
  FakeEngine* engine = nullptr;
  int dialogs = 0;
  std::unique_ptr<CKinovueDlg> window;
};

// A window in folder started with commandLine; prepare sets up its engine
// before the window starts it.
void Start(StartedWindow& started, const std::string& folder, const std::string& commandLine,
           testsupport::FileTypeQuestion question, const std::function<void(FakeEngine&)>& prepare = {},
           const std::vector<std::string>& arguments = {}) {
  testsupport::WidgetApp();
  KinovueOptions options = testsupport::TestWindowOptions(folder, question);
  options.commandLine = commandLine;
  options.arguments = arguments;
  options.updateServer = "127.0.0.1:1";  // nobody listens: the start-up check ends at once
  options.drives = std::make_shared<testsupport::NoDrives>();
  options.engineFactory = [&started, prepare](const std::string&) {
    auto engine = std::make_unique<FakeEngine>();
    engine->announcesRuns = true;
    if (prepare) prepare(*engine);
    started.engine = engine.get();
    return engine;
  };
  options.runDialog = [&started](QDialog&) {
    ++started.dialogs;
    return int(QDialog::Rejected);
  };
  started.window = std::make_unique<CKinovueDlg>(std::move(options));
  ASSERT_TRUE(started.window->OnInitDialog());
}

TEST(StartUpState, WhatTheEngineAnnouncedBeforeTheWindowWasBuiltIsShown) {
  testsupport::TempDir folder;
  StartedWindow started;
  Start(started, folder.Path(), "\"/m/first clip.avi\"", testsupport::FileTypeQuestion::Off, [](FakeEngine& engine) {
    engine.announcedAtStart = {{ENGINE_SETTING_ASPECT, 2, 0}, {ENGINE_SETTING_DEINTERLACE, 1, 0}};
  });
  CKinovueDlg& window = *started.window;
  ASSERT_EQ(started.engine->file, "/m/first clip.avi") << "the command line's file did not start";
  for (const auto& [id, checked] : std::vector<std::pair<int, bool>>{{ID_ASPECT_16_9, true},
                                                                       {ID_ASPECT_AUTO, false},
                                                                       {ID_DEINTERLACE_SIMPLE, true},
                                                                       {ID_DEINTERLACE_OFF, false},
                                                                       {ID_STEREO, false}})
    EXPECT_EQ(window.Action(id)->isChecked(), checked) << id;
  ASSERT_FALSE(window.RecentMenu()->actions().isEmpty());
  EXPECT_TRUE(window.RecentMenu()->actions().first()->text().contains("first clip.avi"));
  EXPECT_TRUE(window.windowTitle().endsWith("first clip.avi")) << window.windowTitle().toStdString();
  window.OnCancel();
}

TEST(StartUpState, AFullDataFolderIsSaidOnceInTheTitleAndLosesNothing) {
  testsupport::FullDisk disk;
  testsupport::SkipFileTypeQuestion(disk.Path());
  const std::string settings = disk.File("dat/kinovue.ini");
  const std::string before = ReadFileBytes(settings);
  ASSERT_FALSE(before.empty());
  StartedWindow started;
  // Start-up writes "RunningHandle" and more; a setting changed by the user
  // fails the same way.
  disk.WhileFull([&] {
    Start(started, disk.Path(), "", testsupport::FileTypeQuestion::AsSettingsSay);
    if (started.window) started.window->OnCommand(ID_TOPMOST);
  });
  ASSERT_TRUE(started.window);
  CKinovueDlg& window = *started.window;
  testsupport::PumpUntil([&] { return window.windowTitle().contains("未能保存"); }, 5000);
  const QString title = window.windowTitle();
  EXPECT_EQ(title.count("未能保存"), 1) << title.toStdString() << " (" << disk.Kind() << ")";
  EXPECT_TRUE(title.contains("磁盘空间不足")) << title.toStdString();
  EXPECT_EQ(started.dialogs, 0) << "a dialog was shown for it";
  EXPECT_EQ(ReadFileBytes(settings), before);
  // Later state changes keep the note.
  window.OnMessage(WM_ENGINE_STATE, ENGINE_STATE_STOPPED, 0);
  EXPECT_TRUE(window.windowTitle().contains("未能保存"));
  window.OnCancel();
}

TEST(StartUpState, SeveralFilesOnTheCommandLinePlayTheFirstAndAreAllQueued) {
  testsupport::TempDir folder;
  testsupport::TempDir media;
  const std::string a = media.File("a.avi"), b = media.File("b c.avi");
  ASSERT_TRUE(testsupport::WriteFileBytes(a, "x") && testsupport::WriteFileBytes(b, "x"));
  StartedWindow started;
  Start(started, folder.Path(), a + " missing.avi " + b, testsupport::FileTypeQuestion::Off, {},
        {a, "missing.avi", b});
  EXPECT_EQ(started.engine->Played(), std::vector<std::string>{a});
  const CGeneralPlayList& list = *started.window->PlayList();
  EXPECT_EQ(list.Items(), (std::deque<std::string>{a, b}));
  EXPECT_EQ(list.Current(), 0);  // the list goes on with b
  started.window->OnCancel();
}

}  // namespace
