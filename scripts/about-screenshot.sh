#!/usr/bin/env bash
# Takes the README's screenshot of the version dialog: the program started,
# ﾍﾙﾌﾟ > ﾊﾞｰｼﾞｮﾝ表示 chosen, the dialog cropped from the screen.
# Usage: scripts/about-screenshot.sh BUILD ARCH OUT.png
set -eu
build=$(cd "$1" && pwd); arch=$2; out=$3
here=$(cd "$(dirname "$0")" && pwd)
"$here/wine-harness.sh" up "$build" "$arch" >/dev/null
trap '"$here/wine-harness.sh" down "$build" >/dev/null' EXIT
. "$build/wine-run/env"
(cd "$build/bin" && env LOCPATH="$LOCPATH" LANG="$TAPESTRA_LANG" LC_ALL="$TAPESTRA_LANG" "$WINE" Tapestra32.exe \
  </dev/null >/dev/null 2>&1 &)
sleep 5
DISPLAY=$DISPLAY xdotool mousemove --sync 300 200 click 1 key --delay 300 alt+h a >/dev/null 2>&1 || true
sleep 2
# The dialog is centred on the 1024x768 screen.
import -display "$DISPLAY" -window root "$out.full.png"
convert "$out.full.png" -crop 423x321+300+224 +repage "$out"
rm -f "$out.full.png"
"$WINE" wineserver -k >/dev/null 2>&1 || true
