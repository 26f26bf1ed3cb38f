#!/usr/bin/env bash
# Installs into a temporary prefix and runs the installed program on a clip
# under a private X server, as a user who cannot write to the program's
# folder: it must play, keep its data in $XDG_DATA_HOME/kinovue and end
# cleanly on Alt+X.
set -euo pipefail
build=$1
fail() { echo "FAIL: $*" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/kinovue-install.XXXXXX")
chmod 0755 "$work"
xvfb_pid="" player_pid=""
cleanup() {
  [ -n "$player_pid" ] && kill "$player_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
[ -L "$prefix/bin/kinovue" ] || fail "bin/kinovue is not a link"
[ "$(readlink -f "$prefix/bin/kinovue")" = "$(readlink -f "$prefix/lib/kinovue/kinovue")" ] ||
  fail "bin/kinovue does not lead to lib/kinovue/kinovue"
[ -f "$prefix/lib/kinovue/libmplayer.so" ] || fail "the engine library is not in the program folder"
if readelf -d "$prefix/lib/kinovue/kinovue" | grep -Fq "$build"; then fail "the installed program looks into the build folder"; fi

ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc=size=320x240:rate=25:duration=20 \
  -c:v mpeg4 -q:v 5 "$work/clip.avi"
home=$work/home
mkdir -p "$home" "$work/runtime"
chmod 0700 "$work/runtime"

# The user may not write to the program folder: as root, run as nobody;
# otherwise take the write permission away.
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  chown -R nobody "$home" "$work/runtime"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
else
  chmod -R a-w "$prefix/lib/kinovue"
fi

Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp -noreset 5>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$work/display")"

env -u QT_QPA_PLATFORM -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$home" XDG_RUNTIME_DIR="$work/runtime" \
  "${as_user[@]}" "$prefix/bin/kinovue" "$work/clip.avi" >"$work/log" 2>&1 &
player_pid=$!

window="" title=""
for _ in $(seq 200); do
  kill -0 "$player_pid" 2>/dev/null || { cat "$work/log" >&2; fail "the installed program ended early"; }
  # A first start asks about the file types: leave them as they are.
  dialog=$(xdotool search --onlyvisible --pid "$player_pid" --name '^文件关联$' 2>/dev/null | head -n 1 || true)
  [ -z "$dialog" ] || timeout 5 xdotool windowfocus --sync "$dialog" key Escape 2>/dev/null || true
  window=$(xdotool search --onlyvisible --pid "$player_pid" --name '^Kinovue' 2>/dev/null | head -n 1 || true)
  if [ -n "$window" ]; then
    title=$(xdotool getwindowname "$window" 2>/dev/null || true)
    [[ "$title" == *正在播放*clip.avi ]] && break
  fi
  sleep 0.1
done
[[ "$title" == *正在播放*clip.avi ]] || { cat "$work/log" >&2; fail "not playing; title: '$title'"; }

data=$home/.local/share/kinovue
[ -f "$data/kinovue.ini" ] || fail "no settings in $data"
[ "$(stat -c %a "$data")" = 700 ] || fail "$data is not private: $(stat -c %a "$data")"
[ ! -e "$prefix/lib/kinovue/dat" ] || fail "a data folder was made in the program folder"

timeout 10 xdotool windowfocus --sync "$window" key alt+x || true
status=""
for _ in $(seq 100); do
  if ! kill -0 "$player_pid" 2>/dev/null; then
    wait "$player_pid" && status=0 || status=$?
    break
  fi
  sleep 0.1
done
player_pid=""
[ "$status" = 0 ] || fail "the program did not end cleanly on Alt+X (status '${status:-still running}')"
echo "installed program played and ended; data in $data"
