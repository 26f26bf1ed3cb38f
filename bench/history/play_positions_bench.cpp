// The play positions at start: a full "PlayPositions.dat" (1,000 films with
// long paths) read once, as the main window does before it shows, then
// asked for one film; and storing a position (the whole file rewritten).
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <string>

#include "history/play_position_memory.h"

namespace {

const std::string& FullStore() {
  static QTemporaryDir folder;
  static const std::string path = [] {
    const std::string file = folder.filePath(kPlayPositionsFileName).toStdString();
    PlayPositionStore store(file);
    for (int i = 0; i < static_cast<int>(PlayPositionStore::kCapacity); ++i) {
      store.Remember({"/home/user/视频/电视剧 " + std::to_string(i % 37) + "/第 " + std::to_string(i) + " 集 1080p.mkv",
                      {1500000000LL + i, 1700000000000000000LL + i}, 60 + i});
    }
    return file;
  }();
  return path;
}

void LoadAtStart(benchmark::State& state) {
  const std::string& file = FullStore();
  const std::string film = "/home/user/视频/电视剧 0/第 999 集 1080p.mkv";
  for (auto _ : state) {
    PlayPositionMemory memory(file, [](const std::string&) {
      return std::optional<platform::FileIdentity>(platform::FileIdentity{1500000999LL, 1700000000000000999LL});
    });
    memory.Load();
    benchmark::DoNotOptimize(memory.Opening(film, true));
  }
  state.counters["positions"] = static_cast<double>(PlayPositionStore::kCapacity);
}
BENCHMARK(LoadAtStart)->Unit(benchmark::kMillisecond);

void RememberOne(benchmark::State& state) {
  PlayPositionStore store(FullStore());
  store.Load();
  int second = 100;
  for (auto _ : state) store.Remember({"/home/user/视频/film.mkv", {1, 2}, ++second});
}
BENCHMARK(RememberOne)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
