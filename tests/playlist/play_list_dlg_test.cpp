// The playlist window offscreen, on a real playlist and real files.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>

#include "controls/list_box_ex.h"
#include "playlist/general_play_list_dlg.h"
#include "temp_dir.h"
#include "widget_test_support.h"

namespace {

using controls_test::SendMouse;
using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;
using Lines = std::vector<std::string>;

class PlayListWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::WidgetApp();
    stored = dir.File("PlayList.dat");
    list.SetPlayCallback([](const char* path, void* data) { static_cast<Lines*>(data)->push_back(path); }, &played);
  }
  void TearDown() override { list.Clear(); }

  // Opens the window as the main window's menu command does.
  CGeneralPlayListDlg* Open() {
    list.SetViewFactory([this](CGeneralPlayList& owner, QWidget* parent) {
      CGeneralPlayListDlg::Options options;
      options.storedPath = stored;
      options.runDialog = [this](QDialog& dialog) { return answer(dialog); };
      auto made = std::make_unique<CGeneralPlayListDlg>(owner, parent, std::move(options));
      window = made.get();
      return std::unique_ptr<CPlayListView>(std::move(made));
    });
    list.ShowWindow(nullptr, nullptr);
    return window;
  }
  // The next file dialog is answered with these files (none: cancelled).
  void Choose(const Lines& files) {
    answer = [files](QDialog& dialog) {
      auto* chooser = qobject_cast<QFileDialog*>(&dialog);
      if (!chooser || files.empty()) return int(QDialog::Rejected);
      QStringList quoted;
      for (const std::string& f : files) quoted << "\"" + QString::fromStdString(f) + "\"";
      chooser->selectFile(files.size() == 1 ? QString::fromStdString(files[0]) : quoted.join(' '));
      return int(QDialog::Accepted);
    };
  }
  Lines Rows() const {
    Lines rows;
    for (int i = 0; i < window->ListBox()->count(); ++i) rows.push_back(window->ListBox()->item(i)->text().toStdString());
    return rows;
  }
  Lines Items() const {
    Lines items;
    for (int i = 0; i < list.Count(); ++i) items.push_back(list.ItemAt(i));
    return items;
  }
  static std::string FileOf(const Lines& items) {
    std::string bytes;
    for (const std::string& item : items) bytes += item + "\r\n";
    return bytes;
  }
  int SelectedRow() const { return window->ListBox()->selectedItems().isEmpty() ? -1 : window->ListBox()->currentRow(); }
  QPoint RowCentre(int row) const { return window->ListBox()->visualItemRect(window->ListBox()->item(row)).center(); }
  void Key(int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(window->ListBox(), &press);
  }
  void Drop(const Lines& files) {
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& f : files) urls << QUrl::fromLocalFile(QString::fromStdString(f));
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &drop);
  }

  testsupport::TempDir dir;
  std::string stored;
  CGeneralPlayList list;
  CGeneralPlayListDlg* window = nullptr;
  Lines played;
  std::function<int(QDialog&)> answer = [](QDialog&) { return int(QDialog::Rejected); };
};

TEST_F(PlayListWindow, OpensOnTheStoredListShowingNamesWithoutFolders) {
  ASSERT_TRUE(WriteFileBytes(stored, "/m/电影/a.avi\r\n/m/b.avi\nno-folder.mp3\r\n/m/a.avi\r\nhttp://h/x/y.mp3"));
  list.Add("/m/b.avi");  // dropped on the main window before the window was opened
  Open();
  EXPECT_EQ(Items(), (Lines{"/m/b.avi", "/m/电影/a.avi", "no-folder.mp3", "/m/a.avi", "http://h/x/y.mp3"}));
  EXPECT_EQ(Rows(), (Lines{"b.avi", "a.avi", "no-folder.mp3", "a.avi", "http://h/x/y.mp3"}));
  EXPECT_EQ(list.Current(), 0);  // the stored line equal to it made it current
  EXPECT_EQ(SelectedRow(), 0);
  EXPECT_TRUE(window->isVisible());
}

TEST_F(PlayListWindow, ButtonsEditTheListAndSaveTheStoredPlayList) {
  const std::string a = dir.File("a.avi"), b = dir.File("b.mkv"), c = dir.File("c.mp3");
  for (const std::string& f : {a, b, c}) WriteFileBytes(f, "x");
  Open();
  Choose({a, b});
  window->OnAddFiles();
  EXPECT_EQ(Items(), (Lines{a, b}));
  EXPECT_EQ(Rows(), (Lines{"a.avi", "b.mkv"}));
  EXPECT_EQ(SelectedRow(), 1);
  EXPECT_EQ(ReadFileBytes(stored), FileOf({a, b}));

  Choose({a});  // already listed: no row, its row is selected
  window->OnAddFiles();
  EXPECT_EQ(Rows(), (Lines{"a.avi", "b.mkv"}));
  EXPECT_EQ(SelectedRow(), 0);

  Drop({c});  // a drop does not save
  EXPECT_EQ(Rows(), (Lines{"a.avi", "b.mkv", "c.mp3"}));
  EXPECT_EQ(ReadFileBytes(stored), FileOf({a, b}));

  Choose({});  // cancelled: still saved
  window->OnAddFiles();
  EXPECT_EQ(ReadFileBytes(stored), FileOf({a, b, c}));

  list.Add(b);  // current, and so the selected row
  ASSERT_EQ(SelectedRow(), 1);
  window->OnDelete();
  EXPECT_EQ(Rows(), (Lines{"a.avi", "c.mp3"}));
  EXPECT_EQ(list.Current(), 0);
  EXPECT_EQ(ReadFileBytes(stored), FileOf({a, c}));

  window->SelectRow(-1);
  Drop({b});
  window->SelectRow(-1);
  window->OnDelete();  // nothing selected: nothing removed, nothing saved
  EXPECT_EQ(Items(), (Lines{a, c, b}));
  EXPECT_EQ(ReadFileBytes(stored), FileOf({a, c}));

  window->OnClear();
  EXPECT_EQ(Rows(), Lines{});
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(ReadFileBytes(stored), "");
}

TEST_F(PlayListWindow, ExportWritesTheListImportAppendsOnlyNewLines) {
  Open();
  for (const char* item : {"/m/1.avi", "/m/2.avi"}) list.Add(item);
  const std::string exported = dir.File("mine.txt");
  Choose({exported});
  window->OnExport();
  EXPECT_EQ(ReadFileBytes(exported), FileOf({"/m/1.avi", "/m/2.avi"}));
  EXPECT_EQ(ReadFileBytes(stored), "");  // an export is no save of the stored list

  const std::string imported = dir.File("theirs.txt");
  WriteFileBytes(imported, "/m/3.avi\n/m/2.avi\r\n" + std::string(5000, 'x') + "\r\n/m/4.avi");
  Choose({imported});
  window->OnImport();
  EXPECT_EQ(Items(), (Lines{"/m/1.avi", "/m/2.avi", "/m/3.avi", "/m/4.avi"}));
  EXPECT_EQ(Rows(), (Lines{"1.avi", "2.avi", "3.avi", "4.avi"}));
  EXPECT_EQ(ReadFileBytes(stored), FileOf(Items()));
}

TEST_F(PlayListWindow, DoubleClickPlaysTheRowUnderThePointer) {
  Open();
  for (const char* item : {"/m/1.avi", "/m/2.avi", "/m/3.avi"}) list.Add(item);
  QWidget* viewport = window->ListBox()->viewport();
  SendMouse(viewport, QEvent::MouseButtonDblClick, RowCentre(1));
  EXPECT_EQ(played, Lines{"/m/2.avi"});
  EXPECT_EQ(list.Current(), 1);
  const QPoint below(5, window->ListBox()->visualItemRect(window->ListBox()->item(2)).bottom() + 40);
  SendMouse(viewport, QEvent::MouseButtonDblClick, below);  // past the last row: nothing
  EXPECT_EQ(played, Lines{"/m/2.avi"});
}

TEST_F(PlayListWindow, MovingTheSelectionAfterAPressExchangesRows) {
  Open();
  for (int i = 0; i < 40; ++i) list.Add("/m/" + std::to_string(i) + ".avi");
  QWidget* viewport = window->ListBox()->viewport();
  window->ListBox()->scrollToItem(window->ListBox()->item(30));
  const int row = window->ListBox()->indexAt(QPoint(5, 5)).row() + 2;
  ASSERT_GT(row, 2);
  SendMouse(viewport, QEvent::MouseButtonPress, RowCentre(row));  // a plain click in a scrolled list
  SendMouse(viewport, QEvent::MouseButtonRelease, RowCentre(row));
  EXPECT_EQ(window->ListBox()->PressedRow(), row);
  EXPECT_EQ(SelectedRow(), row);
  EXPECT_EQ(list.ItemAt(row), "/m/" + std::to_string(row) + ".avi");  // no order changed

  Key(Qt::Key_Down);  // the pressed row and the newly selected one change places
  EXPECT_EQ(list.ItemAt(row + 1), "/m/" + std::to_string(row) + ".avi");
  EXPECT_EQ(list.ItemAt(row), "/m/" + std::to_string(row + 1) + ".avi");
  EXPECT_EQ(SelectedRow(), row + 1);
  EXPECT_EQ(Rows()[static_cast<std::size_t>(row + 1)], std::to_string(row) + ".avi");
  EXPECT_EQ(list.Count(), 40);
}

TEST_F(PlayListWindow, CloseSavesEscapeOnlyHides) {
  Open();
  Drop({"/m/dropped.avi"});
  Key(Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(stored)));

  list.ShowWindow(nullptr, nullptr);  // the same window with its rows
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(Rows(), Lines{"dropped.avi"});
  window->close();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(ReadFileBytes(stored), FileOf({"/m/dropped.avi"}));

}

TEST(PlayListWindowFilter, EveryMediaPatternOfTheTableOnce) {
  EXPECT_EQ(CGeneralPlayListDlg::AddFilesFilterText(),
            "媒体文件 (所有类型)|*.3g2;*.3gp;*.ac3;*.asf;*.asx;*.avi;*.dat;*.flv;*.mkv;*.mov;*.mp2;*.mp3;*.mp4;"
            "*.mpa;*.mpe;*.mpeg;*.mpg;*.ogg;*.ra;*.ram;*.rm;*.rmvb;*.ts;*.vob;*.wav;*.wm;*.wma;*.wmv|"
            "所有文件 (*.*)|*.*||");
}

}  // namespace
