// Split and parse throughput over captured MPlayer transcripts.
// Usage: engine_output_bench DIR   (DIR holds video.txt and sound.txt, made
// by bench/engine/run.sh)
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/output_lines.h"
#include "engine/output_parser.h"

namespace {

std::string g_dir = ".";

std::string Load(const std::string& name) {
  std::ifstream in(g_dir + "/" + name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

struct CountingSink : OutputEvents {
  long messages = 0;
  void OnLength(int, int) override { ++messages; }
  void OnPosition(int, int) override { ++messages; }
  void OnPlaybackStarted() override { messages += 2; }
  void OnLogLine(const char*) override { ++messages; }
  void OnFailure(const char*) override { ++messages; }
};

void SplitAndParse(benchmark::State& state, const std::string& file) {
  const std::string transcript = Load(file);
  if (transcript.empty()) {
    state.SkipWithError(("no transcript " + file + " (run bench/engine/run.sh)").c_str());
    return;
  }
  std::vector<char> chunk(1026);
  long messages = 0, lines = 0;
  for (auto _ : state) {
    MediaFields fields;
    CountingSink sink;
    LineSplitter splitter;
    auto onLine = [&](const char* line, std::size_t length) {
      ++lines;
      HandleOutputLine(line, length, fields, sink);
    };
    // Reads of at most 1025 bytes, as the reader thread makes them.
    for (std::size_t at = 0; at < transcript.size(); at += 1025) {
      const std::size_t n = std::min<std::size_t>(1025, transcript.size() - at);
      std::copy_n(transcript.data() + at, n, chunk.data());
      splitter.Feed(chunk.data(), n, onLine);
    }
    splitter.Finish(onLine);
    messages = sink.messages;
    benchmark::DoNotOptimize(fields.lastPosition.load());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * transcript.size()));
  state.counters["lines_per_pass"] = static_cast<double>(lines) / static_cast<double>(state.iterations());
  state.counters["messages_per_pass"] = static_cast<double>(messages);
}

}  // namespace

BENCHMARK_CAPTURE(SplitAndParse, video, std::string("video.txt"));
BENCHMARK_CAPTURE(SplitAndParse, sound, std::string("sound.txt"));

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (argc > 1) g_dir = argv[1];
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
