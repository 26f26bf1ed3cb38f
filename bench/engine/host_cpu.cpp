// Plays a clip through the real engine library for a given time and prints
// the CPU time of this process alone (the MPlayer child is not counted: its
// time goes to the children's counters).
// Usage: engine_host_cpu PROGRAM_FOLDER CLIP [SECONDS]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "engine/mplayer_engine.h"

namespace {

// utime + stime of this process, in clock ticks (fields 14 and 15).
long long OwnCpuTicks() {
  std::ifstream in("/proc/self/stat");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::istringstream fields(text.substr(text.rfind(')') + 2));
  std::string field;
  long long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i == 14) utime = std::stoll(field);
    if (i == 15) stime = std::stoll(field);
  }
  return utime + stime;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s PROGRAM_FOLDER CLIP [SECONDS]\n", argv[0]);
    return 2;
  }
  QCoreApplication app(argc, argv);
  const int seconds = argc > 3 ? std::atoi(argv[3]) : 20;
  long positions = 0;
  platform::MessageWindow owner([&](unsigned m, std::uintptr_t, std::intptr_t) -> std::intptr_t {
    if (m == WM_ENGINE_POSITION) ++positions;
    return 0;
  });
  CMplayerEngine engine(argv[1]);
  const EngineStartInfo info = StandardEngineStartInfo(0, argv[1], owner.Handle());
  if (int error = engine.Start(&info)) {
    std::fprintf(stderr, "engine start failed: %d\n", error);
    return 1;
  }
  EngineCommand play{ENGINE_COMMAND_KIND, ENGINE_CMD_PLAY, reinterpret_cast<std::intptr_t>(argv[2])};
  engine.Execute(&play);
  const long long before = OwnCpuTicks();
  QElapsedTimer timer;
  timer.start();
  QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);
  app.exec();
  const long long used = OwnCpuTicks() - before;
  const double wall = static_cast<double>(timer.elapsed()) / 1000.0;
  const double cpu = static_cast<double>(used) / static_cast<double>(sysconf(_SC_CLK_TCK));
  std::printf("host CPU %.3f s over %.1f s of playback = %.3f %% of one core (%ld position messages)\n", cpu, wall,
              100.0 * cpu / wall, positions);
  EngineCommand stop{ENGINE_COMMAND_KIND, ENGINE_CMD_STOP, 0};
  engine.Execute(&stop);
  return 0;
}
