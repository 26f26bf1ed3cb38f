#!/usr/bin/env bash
# Time to the first video frame, engine library against MPlayer run directly:
# once headless (null video output), once under Xvfb on display :5 (x11
# output; a display number below 10, where MPlayer keeps shared memory on).
#   bench/enginelib/first_frame.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-7}
bench="$build/bench/enginelib/kinovue_bench_first_frame"
[ -x "$bench" ] || { echo "build the target kinovue_bench_first_frame in $build first" >&2; exit 1; }

work=$(mktemp -d)
xvfb=""
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

clip="$work/clip320.avi"
ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc=size=320x240:rate=25:duration=3 \
  -f lavfi -i sine=frequency=440:duration=3 -c:v mpeg4 -q:v 5 -c:a libmp3lame -b:a 64k -shortest "$clip"

echo "== headless"
env -u DISPLAY "$bench" --runs "$runs" "$clip"

if [ -e /tmp/.X5-lock ]; then
  echo "== display :5 is taken; x11 run skipped"
  exit 0
fi
Xvfb :5 -screen 0 1280x720x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -e /tmp/.X11-unix/X5 ] && break; sleep 0.1; done
echo "== Xvfb :5"
DISPLAY=:5 "$bench" --runs "$runs" "$clip"
