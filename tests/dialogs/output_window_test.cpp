// The engine output window and the shortcut help, offscreen: lines sent from
// another thread exactly as the engine's reader sends them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QScrollBar>
#include <string>
#include <thread>
#include <vector>

#include "core_app.h"
#include "dialogs/accelerator_key_help_dlg.h"
#include "dialogs/mplayer_out_dlg.h"
#include "engine/key_table.h"
#include "engine/mplayer_engine.h"
#include "fake_engine.h"
#include "temp_dir.h"
#include "widget_app.h"

namespace {

// Sends each line from a thread of its own and waits, as the engine does;
// returns how many sends were taken.
int SendFromOtherThread(platform::WindowHandle target, const std::vector<std::string>& lines) {
  int taken = 0;
  std::thread sender([&] {
    for (const std::string& line : lines)
      taken += platform::SendMessage(target, WM_ENGINE_LOG_LINE, reinterpret_cast<std::uintptr_t>(line.c_str()), 0);
  });
  // The target runs its own loop; this thread only waits for the sender.
  sender.join();
  return taken;
}

// The rows once at least count have arrived (or after 5 s).
std::vector<std::string> WaitRows(CMplayerOutDlg& window, std::size_t count) {
  testsupport::PumpUntil([&] { return window.Rows().Size() >= count; }, 5000);
  QCoreApplication::processEvents();  // the view's layout
  std::vector<std::string> rows;
  for (std::size_t i = 0; i < window.Rows().Size(); ++i) rows.push_back(window.Rows().Row(i));
  return rows;
}

TEST(OutputWindow, ShowsLinesOnlyWhileOpenAndReopensEmpty) {
  testsupport::WidgetApp();
  FakeEngine engine;
  CMplayerOutDlg window([&] { return &engine; });
  window.Show();
  window.show();
  const platform::WindowHandle first = engine.logWindow;
  EXPECT_EQ(engine.logMessage, WM_ENGINE_LOG_LINE);
  const std::vector<std::string> lines{"kinovue.exe -slave -identify a.avi ", "MPlayer 1.5", std::string(400, 'w')};
  EXPECT_EQ(SendFromOtherThread(first, lines), 3);
  EXPECT_EQ(WaitRows(window, 3), lines);
  auto* list = qobject_cast<QListView*>(FindControl(&window, CMplayerOutDlg::IDC_OUTPUT_LIST));
  EXPECT_GT(list->horizontalScrollBar()->maximum(), 0) << "the long row is not reachable";

  window.reject();  // Esc or the close box
  EXPECT_EQ(engine.logWindow, 0u);
  EXPECT_EQ(window.Rows().Size(), 0u);
  EXPECT_EQ(SendFromOtherThread(first, {"while closed"}), 0) << "a closed window still took a line";

  window.Show();
  EXPECT_EQ(SendFromOtherThread(engine.logWindow, {"after reopening"}), 1);
  EXPECT_EQ(WaitRows(window, 1), std::vector<std::string>{"after reopening"});
}

TEST(OutputWindow, ExportWritesEveryRowWithCrLfThroughTheContextMenu) {
  testsupport::WidgetApp();
  struct Case {
    std::vector<std::string> lines;
    std::string file;
  };
  const std::vector<Case> cases = {
      {{}, ""},  // an empty list still creates (and truncates) the file
      {{"kinovue.exe -vo directx x.avi ", "VO: [x11] 320x240 => 320x240", "中文 路径.avi"},
       "kinovue.exe -vo directx x.avi \r\nVO: [x11] 320x240 => 320x240\r\n中文 路径.avi\r\n"},
      {{"\xb2\xa5\xb7\xc5 GBK", "\x01\x7f"}, "\xb2\xa5\xb7\xc5 GBK\r\n\x01\x7f\r\n"},  // bytes as the engine gave them
  };
  testsupport::TempDir folder;
  for (const Case& c : cases) {
    FakeEngine engine;
    CMplayerOutDlg window([&] { return &engine; });
    window.Show();
    SendFromOtherThread(engine.logWindow, c.lines);
    const std::string path = folder.File("output.txt");
    testsupport::WriteFileBytes(path, "left from before\n");
    window.SetRunDialog([&](QDialog& dialog) {
      auto* files = qobject_cast<QFileDialog*>(&dialog);
      if (!files) return int(QDialog::Rejected);
      files->selectFile(QString::fromStdString(path));
      return int(QDialog::Accepted);
    });
    std::unique_ptr<QMenu> menu(window.CreateContextMenu(nullptr));
    ASSERT_EQ(menu->actions().first()->text(), QStringLiteral("导出所有输出信息"));
    menu->actions().first()->trigger();  // collects what was sent, then writes
    EXPECT_EQ(testsupport::ReadFileBytes(path), c.file) << c.lines.size() << " lines";
  }
}

TEST(OutputWindow, KeepsOnlyTheNewestRows) {
  testsupport::WidgetApp();
  constexpr std::size_t cap = EngineLogModel::kMaxRows;
  struct Case {
    std::vector<std::size_t> batches;
    std::size_t firstKept;  // number of the oldest line still shown
  };
  for (const Case& c : std::vector<Case>{{{cap}, 0}, {{cap, 5}, 5}, {{cap + 3}, 3}, {{60000, 60000}, 20000}}) {
    EngineLogModel rows;
    std::size_t total = 0;
    for (std::size_t batch : c.batches) {
      std::vector<std::string> lines;
      for (std::size_t i = 0; i < batch; ++i) lines.push_back(std::to_string(total++));
      rows.AppendBatch(lines);
    }
    ASSERT_EQ(rows.Size(), cap);
    EXPECT_EQ(rows.Row(0), std::to_string(c.firstKept));
    EXPECT_EQ(rows.Row(cap - 1), std::to_string(total - 1));
  }
}

TEST(OutputWindow, WidthCountsWideCharactersTwiceAndBrokenBytesOnce) {
  const std::vector<std::pair<std::string, std::size_t>> cases = {
      {"", 0}, {"abc", 3}, {"中文", 4}, {"ａ", 2}, {"é", 1}, {"\xff\xfe", 2}, {"\xe4\xb8", 2}, {"a\xe4" "b", 3},
      {"\xf0\x9f\x98\x80", 1}};
  for (const auto& [text, cells] : cases) EXPECT_EQ(TextCells(text), cells) << text;
}

TEST(KeyHelp, ListsTheEngineKeyTableInOrderWithTheKeyColumnLinedUp) {
  testsupport::WidgetApp();
  testsupport::TempDir folder;
  // Rows as the program's table gives them: one without a help line.
  const KeyRow keys[] = {{platform::VK_LEFT, 0, true, ENGINE_CMD_SEEK, -10, "Left", "后退10秒"},
                         {'8', KEY_MOD_RSHIFT, true, ENGINE_CMD_CHANGE_VOLUME, 1, "", ""},
                         {'F', 0, false, ENGINE_CMD_FULLSCREEN, 0, "f/Esc", "切换窗口模式和全屏模式"},
                         {0, 0, true, ENGINE_CMD_NONE, 0, "Backspace", "恢复正常播放速度"}};
  CMplayerEngine engine(folder.Path() + "/", nullptr, keys);
  CAcceleratorKeyHelpDlg dialog(&engine);
  std::vector<std::string> expected;
  for (const KeyRow& row : keys)
    if (!KeyHelpLine(row).empty()) expected.push_back(KeyHelpLine(row));
  auto* list = qobject_cast<QListWidget*>(FindControl(&dialog, CAcceleratorKeyHelpDlg::IDC_KEY_LIST));
  for (int showing = 0; showing < 2; ++showing) {  // opening again does not repeat the lines
    dialog.show();
    std::vector<std::string> shown;
    for (int i = 0; i < list->count(); ++i) shown.push_back(list->item(i)->text().toStdString());
    EXPECT_EQ(shown, expected);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[1], "f/Esc         切换窗口模式和全屏模式");

    // Key names of different letters take the same width only in a fixed-pitch font.
    const QFontMetrics metrics(list->font());
    for (int i = 1; i < list->count(); ++i)
      EXPECT_EQ(metrics.horizontalAdvance(list->item(i)->text().left(14)),
                metrics.horizontalAdvance(list->item(0)->text().left(14)))
          << "the action column does not line up at line " << i + 1;

    QKeyEvent enter(QEvent::KeyPress, showing ? Qt::Key_Escape : Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(list, &enter);
    EXPECT_FALSE(dialog.isVisible());
  }
}

}  // namespace
