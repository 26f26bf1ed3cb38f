// Plays a clip through the engine host and an engine library at a speed for
// a given time and prints the CPU time of the engine's processes (MPlayer,
// what it forks and the run's supervisor: all are reaped before the count)
// and how far the playback time moved.
// Usage: engine_speed_cpu LIBMPLAYER_SO CLIP SPEED_PERCENT [SECONDS]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <sys/resource.h>

#include "engine/mplayer_engine.h"

namespace {

double ChildrenCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s LIBMPLAYER_SO CLIP SPEED_PERCENT [SECONDS]\n", argv[0]);
    return 2;
  }
  QCoreApplication app(argc, argv);
  const int speed = std::atoi(argv[3]);
  const int seconds = argc > 4 ? std::atoi(argv[4]) : 10;
  // A program folder of its own: the library under test, and settings that are not the build's.
  QTemporaryDir folder;
  if (!QFile::link(QString::fromLocal8Bit(argv[1]), folder.filePath("libmplayer.so"))) {
    std::fprintf(stderr, "cannot link %s\n", argv[1]);
    return 1;
  }
  const std::string programFolder = folder.path().toStdString() + "/";

  int first = -1, last = -1;
  platform::MessageWindow owner([&](unsigned m, std::uintptr_t w, std::intptr_t) -> std::intptr_t {
    if (m == WM_ENGINE_POSITION) {
      if (first < 0) first = static_cast<int>(w);
      last = static_cast<int>(w);
    }
    return 0;
  });
  const double before = ChildrenCpuSeconds();
  QElapsedTimer timer;
  {
    auto engine = std::make_unique<CMplayerEngine>(programFolder);
    const EngineStartInfo info = StandardEngineStartInfo(0, programFolder.c_str(), owner.Handle());
    if (int error = engine->Start(&info)) {
      std::fprintf(stderr, "engine start failed: %d\n", error);
      return 1;
    }
    EngineCommand setSpeed{ENGINE_COMMAND_KIND, ENGINE_CMD_SET_SPEED, speed};
    engine->Execute(&setSpeed);
    EngineCommand play{ENGINE_COMMAND_KIND, ENGINE_CMD_PLAY, reinterpret_cast<std::intptr_t>(argv[2])};
    engine->Execute(&play);
    timer.start();
    QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);
    app.exec();
    EngineCommand stop{ENGINE_COMMAND_KIND, ENGINE_CMD_STOP, 0};
    engine->Execute(&stop);
  }  // waits for the run to end and its processes to be reaped
  const double wall = static_cast<double>(timer.elapsed()) / 1000.0;
  const double cpu = ChildrenCpuSeconds() - before;
  std::printf("speed %3d %%: engine CPU %.2f s over %.1f s = %.1f %% of one core; playback time %d s -> %d s\n", speed,
              cpu, wall, 100.0 * cpu / wall, first, last);
  return 0;
}
