// The engine output window as a user opens it, in the real main window under
// a private X server, with the real engine library and MPlayer.
#include <gtest/gtest.h>

#include <QDir>

#include <QAction>
#include <QApplication>
#include <filesystem>

#include "core_app.h"
#include "dialogs/mplayer_out_dlg.h"
#include "engine/mplayer_engine.h"
#include "mainwindow/command_ids.h"
#include "mainwindow/kinovue_dlg.h"
#include "platform/key_state.h"
#include "platform/optical_drives.h"
#include "temp_dir.h"
#include "test_media.h"
#include "xvfb.h"

namespace {

struct NoDrives : platform::OpticalDrives {
  std::vector<std::string> List() const override { return {}; }
};

bool AnyRow(const EngineLogModel& rows, const std::function<bool(const std::string&)>& match) {
  for (std::size_t i = 0; i < rows.Size(); ++i)
    if (match(rows.Row(i))) return true;
  return false;
}

TEST(EngineOutputWindow, ShowsTheArgumentsAndMPlayersOwnLinesOfARealRun) {
  const std::string clip = testsupport::VideoClip();
  ASSERT_FALSE(clip.empty()) << "no test clip";
  testsupport::Xvfb x;
  ASSERT_TRUE(x.Running()) << "Xvfb did not start";
  qputenv("DISPLAY", QByteArray::fromStdString(x.Display()));
  qputenv("QT_QPA_PLATFORM", "xcb");
  testsupport::TempDir folder;
  testsupport::TempDir runtime;
  std::filesystem::copy_file(KINOVUE_ENGINE_LIBRARY, folder.File("libmplayer.so"));

  int argc = 1;
  char name[] = "engine_output_window_test";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  // Not about file types: no start-up association question.
  QDir().mkpath(QString::fromStdString(folder.File("dat")));
  testsupport::WriteFileBytes(folder.File("dat/kinovue.ini"), "[kinovue]\nCheckFileAssociate=0\n");
  KinovueOptions options;
  options.programFolder = folder.Path() + "/";
  options.runtimeFolder = runtime.Path();
  options.updateLibraryPath = KINOVUE_UPDATE_LIBRARY;
  options.drives = std::make_shared<NoDrives>();
  options.keys = platform::MakeKeyState();
  options.engineFactory = [keys = options.keys](const std::string& programFolder) {
    return std::make_unique<CMplayerEngine>(programFolder, keys);
  };
  CKinovueDlg dlg(std::move(options));
  ASSERT_TRUE(dlg.OnInitDialog());
  dlg.show();

  dlg.Action(ID_SHOW_ENGINE_OUTPUT)->trigger();
  ASSERT_NE(dlg.OutputWindow(), nullptr);
  const EngineLogModel& rows = dlg.OutputWindow()->Rows();
  dlg.RequestOpen(clip);

  const auto arguments = [&](const std::string& row) {
    return row.rfind("kinovue.exe -slave -identify ", 0) == 0 && row.find(" " + clip + " ") != std::string::npos;
  };
  const auto banner = [](const std::string& row) { return row.rfind("MPlayer ", 0) == 0; };
  const auto named = [&](const std::string& row) { return row == "ID_FILENAME=" + clip; };
  const bool seen = testsupport::PumpUntil(
      [&] { return AnyRow(rows, arguments) && AnyRow(rows, banner) && AnyRow(rows, named); }, 30000);
  EXPECT_TRUE(seen) << rows.Size() << " rows, the first: " << (rows.Size() ? rows.Row(0) : "");
  EXPECT_TRUE(rows.Size() && arguments(rows.Row(0))) << "the run does not begin with its argument vector";
}

}  // namespace
