// Switches from a stream whose server never answers to a clip, through the
// real engine library, and prints the longest stall of this (the UI) thread's
// event loop meanwhile, and how long the clip took to start.
// Usage: engine_hung_switch PROGRAM_FOLDER CLIP
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTimer>
#include <cstdio>
#include <string>

#include "engine/mplayer_engine.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s PROGRAM_FOLDER CLIP\n", argv[0]);
    return 2;
  }
  QCoreApplication app(argc, argv);
  // Takes connections and never says a word: MPlayer waits in its open.
  QTcpServer silent;
  if (!silent.listen(QHostAddress::LocalHost)) return 1;
  const std::string stream = "http://127.0.0.1:" + std::to_string(silent.serverPort()) + "/live.avi";

  QElapsedTimer clock;
  bool started = false;
  platform::MessageWindow owner([&](unsigned m, std::uintptr_t, std::intptr_t) -> std::intptr_t {
    if (m == WM_ENGINE_STARTED) started = true;
    return 0;
  });
  CMplayerEngine engine(argv[1]);
  const EngineStartInfo info = StandardEngineStartInfo(0, argv[1], owner.Handle());
  if (int error = engine.Start(&info)) {
    std::fprintf(stderr, "engine start failed: %d\n", error);
    return 1;
  }
  EngineCommand play{ENGINE_COMMAND_KIND, ENGINE_CMD_PLAY, reinterpret_cast<std::intptr_t>(stream.c_str())};
  engine.Execute(&play);

  // The event loop's heartbeat: the longest gap between two 5 ms ticks.
  qint64 last = 0, longest = 0;
  QTimer beat;
  beat.setTimerType(Qt::PreciseTimer);
  QObject::connect(&beat, &QTimer::timeout, [&] {
    const qint64 now = clock.elapsed();
    if (now - last > longest) longest = now - last;
    last = now;
  });
  qint64 switchedAt = 0, startedAt = -1;
  QTimer::singleShot(1000, [&] {
    clock.start();
    beat.start(5);
    switchedAt = clock.elapsed();
    EngineCommand clip{ENGINE_COMMAND_KIND, ENGINE_CMD_PLAY, reinterpret_cast<std::intptr_t>(argv[2])};
    engine.Execute(&clip);
    const qint64 returned = clock.elapsed();
    if (returned - switchedAt > longest) longest = returned - switchedAt;
    last = returned;
  });
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (started && clock.isValid() && startedAt < 0) {
      startedAt = clock.elapsed();
      QCoreApplication::quit();
    }
  });
  poll.start(10);
  QTimer::singleShot(15000, &app, &QCoreApplication::quit);
  app.exec();
  std::printf("longest event-loop stall while switching: %lld ms; clip started after %lld ms\n",
              static_cast<long long>(longest), static_cast<long long>(startedAt - switchedAt));
  EngineCommand stop{ENGINE_COMMAND_KIND, ENGINE_CMD_STOP, 0};
  engine.Execute(&stop);
  return startedAt < 0 ? 1 : 0;
}
