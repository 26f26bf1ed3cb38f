// A music library as a playlist: a 100,000-line "PlayList.dat" loaded into a
// fresh playlist (the playlist window's first opening reads it), the window
// opened on it (rows for every item), and the same file imported again into
// the open window (every line a duplicate). Offscreen widgets.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "playlist/general_play_list.h"
#include "playlist/general_play_list_dlg.h"

namespace {

constexpr int kLines = 100000;

QApplication& App() {
  static int argc = 1;
  static char name[] = "play_list_bench";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

// The stored playlist of a large music library, made once.
const std::string& StoredList() {
  static QTemporaryDir folder;
  static const std::string path = [] {
    const std::string file = folder.filePath("PlayList.dat").toStdString();
    std::string bytes;
    for (int i = 0; i < kLines; ++i) {
      bytes += "/home/user/音乐/艺术家 " + std::to_string(i % 997) + "/专辑 " + std::to_string(i % 31) + "/" +
               std::to_string(i) + " 曲目.flac\r\n";
    }
    QFile out(QString::fromStdString(file));
    out.open(QIODevice::WriteOnly);
    out.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return file;
  }();
  return path;
}

std::unique_ptr<CGeneralPlayList> ListWithWindowFactory() {
  auto list = std::make_unique<CGeneralPlayList>();
  list->SetViewFactory([](CGeneralPlayList& owner, QWidget* parent) {
    CGeneralPlayListDlg::Options options;
    options.storedPath = StoredList();
    return std::unique_ptr<CPlayListView>(std::make_unique<CGeneralPlayListDlg>(owner, parent, std::move(options)));
  });
  return list;
}

void BM_LoadStoredPlayList(benchmark::State& state) {
  const std::string& file = StoredList();
  for (auto _ : state) {
    auto list = std::make_unique<CGeneralPlayList>();
    list->Load(file);
    state.PauseTiming();  // the next run's list starts empty; freeing this one is not loading
    if (list->Count() != kLines) state.SkipWithError("lines lost");
    list.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LoadStoredPlayList)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The first "打开播放列表": the stored list is read, the window made and every row added.
void BM_OpenWindowOnStoredPlayList(benchmark::State& state) {
  App();
  StoredList();
  for (auto _ : state) {
    std::unique_ptr<CGeneralPlayList> list = ListWithWindowFactory();
    list->ShowWindow(nullptr, nullptr);
    QApplication::processEvents();  // the first layout and paint of the rows
    state.PauseTiming();
    if (list->Count() != kLines) state.SkipWithError("lines lost");
    list.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenWindowOnStoredPlayList)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Importing the same list again into the open window: every line is found
// as a duplicate and only moves the selection.
void BM_ImportDuplicatesIntoOpenWindow(benchmark::State& state) {
  App();
  std::unique_ptr<CGeneralPlayList> list = ListWithWindowFactory();
  list->ShowWindow(nullptr, nullptr);
  QApplication::processEvents();
  for (auto _ : state) {
    list->Load(StoredList());
    QApplication::processEvents();
  }
  list->Clear();
}
BENCHMARK(BM_ImportDuplicatesIntoOpenWindow)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
