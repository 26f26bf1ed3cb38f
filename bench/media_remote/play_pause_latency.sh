#!/usr/bin/env bash
# Time from `playerctl play-pause` to the engine's "pause" command: the
# player under Xvfb on a private session bus, its writes and its reads from
# the bus watched with strace. Prints each
# sample in milliseconds, then the medians (playerctl, and for comparison
# the lighter dbus-send).
#   bench/media_remote/play_pause_latency.sh [BUILD_DIR] [SAMPLES]
set -euo pipefail
build=$(realpath "${1:-build}")
samples=${2:-20}
[ -x "$build/bin/kinovue" ] || { echo "build the targets kinovue and kinovue_enginelib in $build first" >&2; exit 1; }

work=$(mktemp -d)
xvfb="" bus="" tracer=""
cleanup() {
  if [ -n "$tracer" ]; then
    for child in $(pgrep -P "$tracer" || true); do kill "$child" 2>/dev/null || true; done
    kill "$tracer" 2>/dev/null || true
  fi
  for pid in $bus $xvfb; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

until_true() {  # until_true SECONDS COMMAND...: polls every 10 ms
  local end=$(( $(date +%s) + $1 )); shift
  until "$@"; do [ "$(date +%s)" -lt "$end" ] || return 1; sleep 0.01; done
}

ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc=size=640x480:rate=25:duration=120 \
  -f lavfi -i sine=frequency=440:duration=120 -c:v mpeg4 -q:v 5 -c:a libmp3lame -b:a 64k -shortest "$work/clip.avi"
mkdir -p "$work/program" "$work/run"
chmod 700 "$work/run"
cp "$build/bin/kinovue" "$build/bin/libmplayer.so" "$work/program/"

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
until_true 10 test -s "$work/display"
dbus-daemon --session --nofork --nopidfile --print-address=1 --address="unix:tmpdir=$work" >"$work/bus" 2>/dev/null &
bus=$!
until_true 10 test -s "$work/bus"
export DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus")
export DISPLAY=":$(head -n 1 "$work/display")" XDG_RUNTIME_DIR="$work/run" KINOVUE_STATS_SERVER=127.0.0.1:9

# Every thread: the bus connection's thread receives the call, the UI thread
# writes the command.
strace -f --seccomp-bpf -qq -ttt -s 512 -e trace=write,recvmsg -e signal=none -o "$work/trace" \
  "$work/program/kinovue" "$work/clip.avi" &
tracer=$!
playing() { [ "$(playerctl --player=kinovue status 2>/dev/null)" = Playing ]; }
until_true 30 playing || { echo "the player did not start playing" >&2; exit 1; }
sleep 1

pauses() { grep -c 'write([0-9]*, "pause\\n"' "$work/trace" || true; }
# measure LABEL COMMAND...: samples of the time from starting COMMAND to the
# engine's next "pause" command, each printed, then their median.
measure() {
  local label=$1; shift
  local times=() shares=() before start written ms delivered share
  for i in $(seq "$samples"); do
    before=$(pauses)
    start=$(date +%s.%N)
    "$@" >/dev/null
    more() { [ "$(pauses)" -gt "$before" ]; }
    until_true 5 more || { echo "$label sample $i: no pause command reached the engine" >&2; exit 1; }
    written=$(grep 'write([0-9]*, "pause\\n"' "$work/trace" | tail -n 1 | awk '{ print $2 }')
    ms=$(awk -v written="$written" -v start="$start" 'BEGIN { printf "%.3f", (written - start) * 1000 }')
    delivered=$(grep 'recvmsg.*PlayPause' "$work/trace" | tail -n 1 | awk '{ print $2 }')
    share=$(awk -v written="$written" -v delivered="$delivered" 'BEGIN { printf "%.3f", (written - delivered) * 1000 }')
    times+=("$ms")
    shares+=("$share")
    printf '%s sample %2d: %6.2f ms, of which in the player %6.2f ms\n' "$label" "$i" "$ms" "$share"
    sleep 0.3
  done
  median "$label" "${times[@]}"
  median "$label, in the player (call received to engine command)" "${shares[@]}"
}
median() {  # median LABEL VALUES...: appends one line to the summary
  local label=$1; shift
  printf '%s\n' "$@" | sort -n | awk -v label="$label" '{ v[NR] = $1 } END {
    m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "%s: median of %d %.2f ms (min %.2f, max %.2f)\n", label, NR, m, v[1], v[NR] }' >>"$work/medians"
}

measure "playerctl play-pause" playerctl --player=kinovue play-pause
# The same request from a lighter client: how much of it is playerctl's own start.
measure "dbus-send PlayPause" dbus-send --session --type=method_call --dest=org.mpris.MediaPlayer2.kinovue \
  /org/mpris/MediaPlayer2 org.mpris.MediaPlayer2.Player.PlayPause
cat "$work/medians"

# Quit through the bus as well; whatever is left is ended on exit.
dbus-send --session --type=method_call --dest=org.mpris.MediaPlayer2.kinovue /org/mpris/MediaPlayer2 \
  org.mpris.MediaPlayer2.Quit || true
sleep 1
