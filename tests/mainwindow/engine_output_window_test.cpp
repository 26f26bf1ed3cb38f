// The engine output window as a user opens it, in the real main window under
// a private X server, with the real engine library and MPlayer.
#include <gtest/gtest.h>

#include <QAction>
#include <filesystem>

#include "core_app.h"
#include "dialogs/mplayer_out_dlg.h"
#include "mainwindow/command_ids.h"
#include "mainwindow/kinovue_dlg.h"
#include "temp_dir.h"
#include "test_media.h"
#include "test_window.h"
#include "widget_app.h"

namespace {

bool AnyRow(const EngineLogModel& rows, const std::function<bool(const std::string&)>& match) {
  for (std::size_t i = 0; i < rows.Size(); ++i)
    if (match(rows.Row(i))) return true;
  return false;
}

TEST(EngineOutputWindow, ShowsTheArgumentsAndMPlayersOwnLinesOfARealRun) {
  const std::string clip = testsupport::VideoClip();
  ASSERT_FALSE(clip.empty()) << "no test clip";
  ASSERT_NE(testsupport::WidgetAppOnXvfb(), nullptr) << "Xvfb did not start";
  testsupport::TempDir folder;
  std::filesystem::copy_file(KINOVUE_ENGINE_LIBRARY, folder.File("libmplayer.so"));
  KinovueOptions options = testsupport::TestWindowOptions(folder);
  options.drives = std::make_shared<testsupport::NoDrives>();
  testsupport::UseRealEngine(options);
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
