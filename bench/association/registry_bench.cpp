// What a large registry file costs: reading one of N keys under one parent,
// and a batch of N look-ups (one per key, as a start-up check over many
// file types makes) against that file.
// Usage: registry_bench [FOLDER]   (a scratch folder; default /tmp)
#include <benchmark/benchmark.h>

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <string>

#include "platform/atomic_file.h"
#include "platform/registry.h"
#include "platform/registry_file.h"

namespace {

std::string g_base = "/tmp";

std::string KeyName(int i) { return ".ext" + std::to_string(i); }

std::string RegistryTextOf(int keys) {
  std::string text = std::string(platform::kRegistrySignature) + "\n";
  for (int i = 0; i < keys; ++i) text += "[" + KeyName(i) + "]\n@=\"kinovue_" + std::to_string(i % 40) + "\"\n";
  return text;
}

void BM_ParseRegistryText(benchmark::State& state) {
  const std::string text = RegistryTextOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    platform::RegistryKey root;
    benchmark::DoNotOptimize(platform::ParseRegistryText(text, root));
  }
}
BENCHMARK(BM_ParseRegistryText)->Arg(1000)->Arg(10000)->ArgNames({"keys"})->Unit(benchmark::kMillisecond);

void BM_QueryEveryKey(benchmark::State& state) {
  const int keys = static_cast<int>(state.range(0));
  QTemporaryDir home(QString::fromStdString(g_base + "/kinovue-bench-XXXXXX"));
  const std::string path = home.filePath("classes.reg").toStdString();
  platform::WriteFileAtomically(path, RegistryTextOf(keys));
  // As at a start-up: the file was written long before.
  QFile file(QString::fromStdString(path));
  file.open(QIODevice::ReadWrite);
  file.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime);
  platform::Registry registry(path);
  std::string data;
  for (auto _ : state) {
    for (int i = 0; i < keys; ++i) benchmark::DoNotOptimize(registry.QueryValue(KeyName(i), "", data, 260));
  }
}
BENCHMARK(BM_QueryEveryKey)->Arg(1000)->Arg(10000)->ArgNames({"keys"})->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (argc > 1) g_base = argv[1];
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
