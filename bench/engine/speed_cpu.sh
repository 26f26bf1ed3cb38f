#!/usr/bin/env bash
# The engine's CPU use at 1.0x and 2.0x (MPlayer with its processes, headless:
# no picture, null sound), in alternating rounds so that a busy machine
# weighs on every case alike. Run from the repository root after a build.
#
#   bench/engine/speed_cpu.sh                  this build at 1.0x and 2.0x
#   BEFORE=/work/main/build/bin/libmplayer.so bench/engine/speed_cpu.sh
#                                              ... and 1.0x through another build's engine library
# Environment: BUILD (build), ROUNDS (3), SECONDS_OF_PLAYBACK (10).
# Only meaningful on a quiet machine (uptime load below 1).
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${BUILD:-build}
rounds=${ROUNDS:-3}
seconds=${SECONDS_OF_PLAYBACK:-10}
data="$build/bench-data"
mkdir -p "$data"
cmake --build "$build" -j2 --target engine_speed_cpu kinovue_enginelib >/dev/null
clip="$data/clip640-60s.avi"
[ -f "$clip" ] || ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc=size=640x480:rate=25:duration=60 \
  -f lavfi -i sine=frequency=440:duration=60 -c:v mpeg4 -q:v 5 -c:a libmp3lame -b:a 128k -shortest "$clip"

echo "load: $(uptime | sed 's/.*load average: //')"
for round in $(seq "$rounds"); do
  echo "round $round"
  if [ -n "${BEFORE:-}" ]; then
    printf '  before  '
    env -u DISPLAY "$build/bench/engine/engine_speed_cpu" "$BEFORE" "$clip" 100 "$seconds"
  fi
  for speed in 100 200; do
    printf '  after   '
    env -u DISPLAY "$build/bench/engine/engine_speed_cpu" "$PWD/$build/bin/libmplayer.so" "$clip" "$speed" "$seconds"
  done
done
echo "load: $(uptime | sed 's/.*load average: //')"
