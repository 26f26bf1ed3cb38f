#!/usr/bin/env bash
# Engine benchmarks: split/parse throughput over real MPlayer transcripts and
# the host's own CPU use during playback. Run from the repository root after
# a build (scripts/test builds into build/).
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${BUILD:-build}
data="$build/bench-data"
mkdir -p "$data"
cmake --build "$build" -j2 --target engine_output_bench engine_host_cpu kinovue_enginelib >/dev/null

video="$data/clip640.avi"
sound="$data/long.mp3"
[ -f "$video" ] || ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc=size=640x480:rate=25:duration=25 \
  -f lavfi -i sine=frequency=440:duration=25 -c:v mpeg4 -q:v 5 -c:a libmp3lame -b:a 64k -shortest "$video"
[ -f "$sound" ] || ffmpeg -nostdin -loglevel error -y -f lavfi -i sine=frequency=440:duration=60 \
  -c:a libmp3lame -b:a 128k "$sound"

# Real transcripts, as fast as MPlayer can go (no sound device, no picture).
[ -s "$data/video.txt" ] || LC_MESSAGES=C mplayer -slave -identify -nolirc -vo null -ao null -benchmark \
  "$video" </dev/null >"$data/video.txt" 2>&1 || true
[ -s "$data/sound.txt" ] || LC_MESSAGES=C mplayer -slave -identify -nolirc -vo null -ao null \
  "$sound" </dev/null >"$data/sound.txt" 2>&1 || true
echo "transcripts: $(wc -c <"$data/video.txt") bytes (video), $(wc -c <"$data/sound.txt") bytes (sound)"

"$build/bench/engine/engine_output_bench" "$data" --benchmark_min_time=1
env -u DISPLAY "$build/bench/engine/engine_host_cpu" "$build/bin/" "$video" "${SECONDS_OF_PLAYBACK:-20}"
