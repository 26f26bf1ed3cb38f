// The engine output window under a flood: LINES log lines (1,000,000 unless
// given) sent at full speed from another thread, each send waiting for its
// line to be taken, exactly as the engine's reader sends them, while the
// window is open and painting. Reports how long the window's event loop was
// blocked at most, how long a single send was held up at most, and the
// process's memory as the flood goes on.
// Usage: output_window_bench [LINES]   (QT_QPA_PLATFORM and DISPLAY as usual;
// LINES 0 measures the idle window for 15 s, as a baseline)
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "dialogs/mplayer_out_dlg.h"

namespace {

// Only what the window asks of its engine.
class LogOnlyEngine : public CPlayerEngine {
 public:
  std::atomic<platform::WindowHandle> logWindow{0};
  int Start(const EngineStartInfo*) override { return 0; }
  bool Execute(const EngineCommand*) override { return false; }
  int GetLength() override { return 0; }
  EngineInfo* GetInfo(EngineInfo* info) override { return info; }
  void SetLogWindow(platform::WindowHandle window, unsigned) override { logWindow = window; }
  int GetState() override { return ENGINE_STATE_PLAYING; }
  bool ApplySetting(const EngineSetting*) override { return false; }
  bool HandleKey(unsigned) override { return false; }
  int EnumKeyHelp(std::intptr_t, KeyHelpCallback) override { return 0; }
};

// Resident and peak resident memory of this process, in MiB.
std::pair<double, double> Memory() {
  std::ifstream in("/proc/self/status");
  std::string key;
  double rss = 0, peak = 0, value = 0;
  std::string unit;
  while (in >> key) {
    if (key == "VmRSS:" && in >> value >> unit) rss = value / 1024;
    else if (key == "VmHWM:" && in >> value >> unit) peak = value / 1024;
  }
  return {rss, peak};
}

// The calling thread's time on a processor and waiting in the run queue.
struct Schedule {
  qint64 cpuNs = 0;
  qint64 queuedNs = 0;
};
Schedule ThreadSchedule() {
  std::ifstream in("/proc/thread-self/schedstat");
  Schedule s;
  in >> s.cpuNs >> s.queuedNs;
  return s;
}

// Lines shaped like MPlayer's: mostly short, now and then a long one.
std::string Line(long i) {
  switch (i % 8) {
    case 0: return "ID_VIDEO_FORMAT=XVID " + std::to_string(i);
    case 1: return "Opening video decoder: [ffmpeg] FFmpeg's libavcodec codec family " + std::to_string(i);
    case 2: return "[mpeg4 @ 0x55d5c8a3e1c0]ac-tex damaged at 13 17 frame " + std::to_string(i);
    case 3: return "Movie-Aspect is 1.33:1 - prescaling to correct movie aspect.";
    case 4: return "VDec: vo config request - 640 x 480 (preferred colorspace: Planar YV12)";
    case 5: return "字幕: 中文字幕 第" + std::to_string(i) + "行";
    case 6: return std::string(i % 1000 == 6 ? 1000 : 120, 'x');
    default: return "Cache fill: " + std::to_string(i % 100) + ".00% (" + std::to_string(i * 7) + " bytes)";
  }
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const long lines = argc > 1 ? std::atol(argv[1]) : 1000000;

  LogOnlyEngine engine;
  CMplayerOutDlg window([&] { return &engine; });
  window.Show();
  window.show();

  // The event loop's pulse: a 1 ms timer; the longest gap between two ticks
  // is the longest time the loop did not come round. On a shared machine
  // part of a gap is waiting for a processor (the scheduler's run-queue
  // time); the thread's own CPU time within the gap is the part the
  // window's work took.
  QElapsedTimer clock;
  clock.start();
  qint64 lastTick = 0, longestGapNs = 0, longestBusyNs = 0, busyOfLongestGapNs = 0, queuedOfLongestGapNs = 0;
  Schedule last{};
  QTimer pulse;
  pulse.setTimerType(Qt::PreciseTimer);
  pulse.setInterval(1);
  QObject::connect(&pulse, &QTimer::timeout, [&] {
    const qint64 now = clock.nsecsElapsed();
    const Schedule schedule = ThreadSchedule();
    if (lastTick) {
      if (now - lastTick > longestGapNs) {
        longestGapNs = now - lastTick;
        busyOfLongestGapNs = schedule.cpuNs - last.cpuNs;
        queuedOfLongestGapNs = schedule.queuedNs - last.queuedNs;
      }
      longestBusyNs = std::max(longestBusyNs, schedule.cpuNs - last.cpuNs);
    }
    lastTick = now;
    last = schedule;
  });

  std::vector<std::pair<long, std::pair<double, double>>> memory;  // (lines sent, (rss, peak))
  std::atomic<long> sent{0};
  QTimer sampler;
  sampler.setInterval(200);
  QObject::connect(&sampler, &QTimer::timeout, [&] { memory.push_back({sent.load(), Memory()}); });

  std::atomic<bool> done{false};
  std::int64_t longestSendNs = 0, sendsOver10ms = 0;
  double seconds = 0;
  std::thread reader;
  QTimer::singleShot(200, [&] {
    pulse.start();
    sampler.start();
    memory.push_back({0, Memory()});
    reader = std::thread([&] {
      const platform::WindowHandle target = engine.logWindow;
      const auto start = std::chrono::steady_clock::now();
      // No lines: the same open window left alone for 15 s, the machine's own
      // share of the gaps.
      if (lines == 0) std::this_thread::sleep_for(std::chrono::seconds(15));
      for (long i = 0; i < lines; ++i) {
        const std::string line = Line(i);
        const auto before = std::chrono::steady_clock::now();
        platform::SendMessage(target, WM_ENGINE_LOG_LINE, reinterpret_cast<std::uintptr_t>(line.c_str()), 0);
        const std::int64_t ns = (std::chrono::steady_clock::now() - before).count();
        longestSendNs = std::max(longestSendNs, ns);
        sendsOver10ms += ns > 10'000'000;
        sent = i + 1;
      }
      seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      done = true;
    });
  });
  // Ends once the last line is in the list.
  QTimer finish;
  finish.setInterval(50);
  std::size_t kept = 0;
  std::string newest;
  QObject::connect(&finish, &QTimer::timeout, [&] {
    if (!done) return;
    window.CollectLines();
    kept = window.Rows().Size();
    newest = kept ? window.Rows().Row(kept - 1).substr(0, 40) : "";
    app.exit(0);  // quit() would close the window, which empties it
  });
  finish.start();
  app.exec();
  reader.join();
  memory.push_back({sent.load(), Memory()});

  std::printf("%ld lines in %.1f s = %.0f lines/s; %zu rows kept (newest \"%s\")\n", lines, seconds, lines / seconds,
              kept, newest.c_str());
  std::printf("longest event-loop block: %.1f ms wall, of it %.1f ms the UI thread's own CPU and %.1f ms waiting "
              "for a processor; longest busy stretch: %.1f ms CPU (1 ms pulse)\n",
              longestGapNs / 1e6, busyOfLongestGapNs / 1e6, queuedOfLongestGapNs / 1e6, longestBusyNs / 1e6);
  std::printf("longest single send (reader held up): %.1f ms; sends over 10 ms: %lld\n", longestSendNs / 1e6,
              static_cast<long long>(sendsOver10ms));
  const std::size_t step = std::max<std::size_t>(1, memory.size() / 10);
  for (std::size_t i = 0; i < memory.size(); i += step)
    std::printf("  after %8ld lines: RSS %.1f MiB\n", memory[i].first, memory[i].second.first);
  std::printf("  at the end (%ld lines): RSS %.1f MiB, peak %.1f MiB\n", memory.back().first,
              memory.back().second.first, memory.back().second.second);
  return 0;
}
