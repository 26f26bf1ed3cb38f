#!/usr/bin/env bash
# Alt+X while the start-up update check reads from a server that trickles
# one byte every few seconds: prints how long until the window is gone and
# until the process has ended, over RUNS rounds. Run from the repository
# root after a build.
#   bench/update/quit_during_check.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/../.."
runs=${1:-5}
build=${BUILD:-build}
work=$(mktemp -d)
server="" xvfb=""
trap 'kill $server $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
cp "$build/bin/kinovue" "$build/bin/libmplayer.so" "$build/bin/libautorenew.so" "$build/bin/libkinovue_net.so" "$work/"

# The update server: answers every request with a long body, one byte every
# three seconds; says "connected" for every connection it takes.
python3 -u - >"$work/server.log" 2>/dev/null <<'PY' &
import socket, threading, time
listener = socket.socket()
listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
listener.bind(("127.0.0.1", 0))
listener.listen(16)
print(listener.getsockname()[1])
def trickle(connection):
    try:
        connection.recv(4096)
        connection.sendall(b"HTTP/1.0 200 OK\r\nContent-Length: 100000\r\n\r\n")
        while True:
            time.sleep(3)
            connection.sendall(b"x")
    except OSError:
        pass
while True:
    connection, _ = listener.accept()
    print("connected")
    threading.Thread(target=trickle, args=(connection,), daemon=True).start()
PY
server=$!
for _ in $(seq 100); do [ -s "$work/server.log" ] && break; sleep 0.05; done
port=$(head -n 1 "$work/server.log")

exec 3< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp -noreset 2>/dev/null)
read -r display <&3
xvfb=$!
export DISPLAY=":$display" XDG_RUNTIME_DIR="$work/run" KINOVUE_UPDATE_SERVER="127.0.0.1:$port"
mkdir -p "$XDG_RUNTIME_DIR" "$work/dat" && chmod 700 "$XDG_RUNTIME_DIR"
now() { date +%s%N; }

for ((i = 1; i <= runs; i++)); do
  # A fresh start each round: no file-type question, the check at start on.
  printf '[kinovue]\nCheckFileAssociate=0\nAutoUpdate=1\n' >"$work/dat/kinovue.ini"
  rm -f "$work/dat/UpdateServer.ini"
  connections=$(grep -c connected "$work/server.log" || true)
  "$work/kinovue" & pid=$!
  window=""
  for _ in $(seq 200); do
    window=$(xdotool search --onlyvisible --pid "$pid" --name '^Kinovue' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && [ "$(grep -c connected "$work/server.log" || true)" -gt "$connections" ] && break
    sleep 0.05
  done
  checking=no
  [ "$(grep -c connected "$work/server.log" || true)" -gt "$connections" ] && checking=yes
  # Well into the trickle: the check waits for its next byte.
  sleep 1
  start=$(now)
  xdotool windowfocus --sync "$window" key --clearmodifiers alt+x
  hidden=""
  while [ -e "/proc/$pid" ] && [ "$(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null)" != Z ]; do
    if [ -z "$hidden" ] && ! xdotool search --onlyvisible --pid "$pid" --name '^Kinovue' >/dev/null 2>&1; then
      hidden=$(now)
    fi
    sleep 0.01
  done
  ended=$(now)
  wait "$pid" || true
  [ -n "$hidden" ] || hidden=$ended
  echo "round $i: check under way: $checking; window hidden $(((hidden - start) / 1000000)) ms after xdotool" \
    "started, process ended $(((ended - start) / 1000000)) ms after it"
done
