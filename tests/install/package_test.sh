#!/usr/bin/env bash
# Builds the Debian package from the build folder and checks what it holds
# and declares, and the desktop files in it with their validators.
set -euo pipefail
build=$1
fail() { echo "FAIL: $*" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/kinovue-package.XXXXXX")
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log" >&2; fail "cpack"; }
debs=("$work"/kinovue_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one kinovue_*.deb, found: ${debs[*]}"
deb=${debs[0]}

# Every file and link in the package, and nothing else.
expected="./usr/bin/kinovue -> ../lib/kinovue/kinovue
./usr/lib/kinovue/kinovue
./usr/lib/kinovue/libautorenew.so
./usr/lib/kinovue/libkinovue_net.so
./usr/lib/kinovue/libmplayer.so
./usr/share/applications/kinovue.desktop
./usr/share/icons/hicolor/16x16/apps/kinovue.png
./usr/share/icons/hicolor/256x256/apps/kinovue.png
./usr/share/icons/hicolor/32x32/apps/kinovue.png
./usr/share/icons/hicolor/48x48/apps/kinovue.png
./usr/share/man/man1/kinovue.1.gz
./usr/share/metainfo/io.github.kinovue.kinovue.metainfo.xml"
actual=$(dpkg-deb -c "$deb" | grep -v '^d' | awk '{ $1=$2=$3=$4=$5=""; sub(/^ +/, ""); print }' | sort)
[ "$actual" = "$expected" ] || fail "file list differs:
$(diff <(echo "$expected") <(echo "$actual") || true)"

depends=$(dpkg-deb -f "$deb" Depends)
for need in mplayer libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins "fonts-wqy-microhei | fonts-noto-cjk"; do
  [[ ", $depends," == *", $need"[\ ,\(]* ]] || fail "Depends lacks '$need': $depends"
done
[ "$(dpkg-deb -f "$deb" Package)" = kinovue ] || fail "package name"

root=$work/root
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/kinovue.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/io.github.kinovue.kinovue.metainfo.xml" ||
  fail "appstreamcli validate"
for size in 16 32 48 256; do
  file "$root/usr/share/icons/hicolor/${size}x${size}/apps/kinovue.png" | grep -q "$size x $size" ||
    fail "the ${size}px icon is not ${size}x${size}"
done
zcat "$root/usr/share/man/man1/kinovue.1.gz" | grep -q '^\.TH KINOVUE 1' || fail "manual page"
echo "package $(basename "$deb") holds the expected files and passes the validators"
