#!/usr/bin/env bash
# Alt+X while the engine hangs: the MPlayer child is stopped (SIGSTOP) during
# playback, then Alt+X is pressed. Prints how long until the window is gone
# from the screen and until the process has ended, over RUNS rounds, and
# whether any MPlayer was left. Run from the repository root after a build.
#   bench/engine/hung_exit.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/../.."
runs=${1:-5}
build=${BUILD:-build}
work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
cp "$build/bin/kinovue" "$build/bin/libmplayer.so" "$work/"
clip="$work/hung-exit-clip.avi"
ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc=size=320x240:rate=25:duration=60 -c:v mpeg4 "$clip"

exec 3< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp -noreset 2>/dev/null)
read -r display <&3
xvfb=$!
export DISPLAY=":$display" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
now() { date +%s%N; }

for ((i = 1; i <= runs; i++)); do
  "$work/kinovue" "$clip" & pid=$!
  for _ in $(seq 200); do
    window=$(xdotool search --onlyvisible --name '^Kinovue  正在播放' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.05
  done
  engine=$(pgrep -P "$pid" mplayer)
  kill -STOP "$engine"
  start=$(now)
  xdotool windowfocus --sync "$window" key --clearmodifiers alt+x
  hidden=""
  # Our own child: it counts as ended once it is a zombie.
  while [ -e "/proc/$pid" ] && [ "$(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null)" != Z ]; do
    if [ -z "$hidden" ] && ! xdotool search --onlyvisible --name '^Kinovue' >/dev/null 2>&1; then hidden=$(now); fi
    sleep 0.01
  done
  ended=$(now)
  wait "$pid" || true
  [ -n "$hidden" ] || hidden=$ended
  left=$(pgrep -c -f "[h]ung-exit-clip" || true)
  # The window hides the moment the key arrives, so "after hiding" leaves out
  # xdotool's own delay in delivering the key.
  echo "round $i: window hidden $(((hidden - start) / 1000000)) ms after xdotool started," \
    "process ended $(((ended - hidden) / 1000000)) ms after hiding, MPlayer left: $left"
done
