// What the file association costs on a real registry file: the start-up
// check when everything is associated already (no write at all), and
// confirming the dialog on a fresh home (every change one atomic rewrite,
// then the desktop announcement).
// Usage: association_bench [FOLDER]   (a scratch folder; default /tmp)
#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>
#include <string>

#include "association/desktop_publication.h"
#include "association/file_association.h"
#include "association/media_extensions.h"

namespace {

std::string g_base = "/tmp";

AssociationPlaces Places(const QTemporaryDir& home) {
  AssociationPlaces places;
  places.configHome = home.filePath("config").toStdString();
  places.dataHome = home.filePath("data").toStdString();
  places.executablePath = "/opt/kinovue/kinovue";
  return places;
}

void AssociateAll(FileAssociation& assoc) {
  for (const MediaExtension& e : kMediaExtensionTable) assoc.Associate(e.extension, e.type);
}

void BM_StartUpCheckWhenAllAssociated(benchmark::State& state) {
  QTemporaryDir home(QString::fromStdString(g_base + "/kinovue-bench-XXXXXX"));
  FileAssociation assoc(Places(home));
  assoc.RegisterProgIds();
  AssociateAll(assoc);
  for (auto _ : state) {
    assoc.RegisterProgIds();
    benchmark::DoNotOptimize(assoc.AllAssociated());
  }
}
BENCHMARK(BM_StartUpCheckWhenAllAssociated)->Unit(benchmark::kMillisecond);

void BM_ConfirmOnAFreshHome(benchmark::State& state) {
  const bool publish = state.range(0) != 0;
  for (auto _ : state) {
    state.PauseTiming();
    QTemporaryDir home(QString::fromStdString(g_base + "/kinovue-bench-XXXXXX"));
    const AssociationPlaces places = Places(home);
    FileAssociation assoc(places);
    state.ResumeTiming();
    assoc.RegisterProgIds();
    AssociateAll(assoc);
    if (publish) DesktopPublication(places).Publish(assoc);
  }
}
BENCHMARK(BM_ConfirmOnAFreshHome)->Arg(0)->Arg(1)->ArgNames({"desktop"})->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (argc > 1) g_base = argv[1];
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
