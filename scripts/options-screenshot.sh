#!/usr/bin/env bash
# Takes the README's screenshots of the options dialog: its 壁紙, ﾓﾆﾀｰ and
# ﾎｯﾄｷｰ pages, with a few settings made first so that they show something.
# Usage: scripts/options-screenshot.sh BUILD ARCH WALLPAPER.png MONITORS.png HOTKEYS.png
set -eu
build=$(cd "$1" && pwd); arch=$2; wallpaper=$3; monitors=$4; hotkeys=$5
here=$(cd "$(dirname "$0")" && pwd)
export TAPESTRA_RUN=options-shots
"$here/wine-harness.sh" up "$build" "$arch" >/dev/null
trap '"$here/wine-harness.sh" down "$build" >/dev/null' EXIT
. "$build/$TAPESTRA_RUN/env"
w() { env LOCPATH="$LOCPATH" LANG="$TAPESTRA_LANG" LC_ALL="$TAPESTRA_LANG" "$WINE" "$@" </dev/null >/dev/null 2>&1; }
key='HKCU\Software\Orvel\WallPaper\動作環境'
set_value() { w reg add "$key" /v "$1" /d "$2" /f; }
set_value 時間変更 1
set_value 変更方法 3
set_value NoRepeat 1
set_value Move 1
set_value XPos 1234
set_value YPos 40
set_value Monitors 1
# Ctrl+Alt+N, Ctrl+Alt+B and Ctrl+Alt+P, as the hotkey control gives them.
set_value HotKeyNext $((0x0600 + 0x4E))
set_value HotKeyPrev $((0x0600 + 0x42))
set_value HotKeyPause $((0x0600 + 0x50))
(cd "$build/bin" && env LOCPATH="$LOCPATH" LANG="$TAPESTRA_LANG" LC_ALL="$TAPESTRA_LANG" "$WINE" Tapestra32.exe \
  </dev/null >/dev/null 2>&1 &)
# The dialog's place on the screen once it is up (it is centred).
dialog() { xwininfo -display "$DISPLAY" -root -tree 2>/dev/null | grep '"ｵﾌﾟｼｮﾝ"' |
  grep -o '[0-9]*x[0-9]*+[0-9]*+[0-9]*' | head -1 || true; }
for _ in $(seq 40); do
  xwininfo -display "$DISPLAY" -root -tree 2>/dev/null | grep -q '"Vintrel Ver3.20' && break
  sleep 0.5
done
sleep 1
xdotool mousemove --sync 300 200 click 1 key --delay 300 alt+o o >/dev/null 2>&1 || true
geo=
for _ in $(seq 40); do
  geo=$(dialog)
  [ -n "$geo" ] && break
  sleep 0.5
done
[ -n "$geo" ] || { echo "options-screenshot: the dialog did not open" >&2; exit 1; }
tmp=$(mktemp -d)
# Page by page with Ctrl+Tab from 動作環境: 壁紙 is the next one, ﾓﾆﾀｰ and
# ﾎｯﾄｷｰ the last two.
shot() {
  sleep 1
  import -display "$DISPLAY" -window root "$tmp/full.png"
  /usr/bin/convert "$tmp/full.png" -crop "$geo" +repage "$1"
}
xdotool key ctrl+Tab; shot "$wallpaper"
xdotool key ctrl+Tab ctrl+Tab; shot "$monitors"
xdotool key ctrl+Tab; shot "$hotkeys"
xdotool key Escape
rm -rf "$tmp"
