#!/usr/bin/env bash
# Takes the README's screenshot: a library of a few groups with Japanese
# names, pictures made here, the main window with a preview and the tray menu.
# Usage: scripts/demo-screenshot.sh BUILD ARCH OUT.png [OUT-tray.png [OUT-applied.png]]
set -eu
build=$(cd "$1" && pwd); arch=$2; out=$3; trayout=${4:-}; appliedout=${5:-}
here=$(cd "$(dirname "$0")" && pwd)
"$here/wine-harness.sh" up "$build" "$arch" >/dev/null
trap '"$here/wine-harness.sh" down "$build" >/dev/null' EXIT
. "$build/wine-run/env"
w() { env LOCPATH="$LOCPATH" LANG="$TAPESTRA_LANG" LC_ALL="$TAPESTRA_LANG" "$WINE" "$@" </dev/null >/dev/null 2>&1; }
pics="$WINEPREFIX/drive_c/壁紙"
mkdir -p "$pics"
convert -size 640x400 gradient:'#1e5799'-'#7db9e8' -fill '#f5d142' -draw 'circle 480,100 480,150' \
  -fill '#2e8b57' -draw 'polygon 0,400 180,220 320,330 440,250 640,400' "$pics/山と空.jpg"
convert -size 300x200 plasma:fractal -blur 0x2 "$pics/夕焼け.bmp"
convert -size 64x64 pattern:checkerboard "$pics/市松模様.bmp"
convert -size 200x150 xc:'#e0f0ff' -fill '#3070d0' -draw 'circle 100,75 100,20' "$pics/水玉.gif"
key='HKCU\Software\Orvel\WallPaper'
w reg add "$key\\Group" /v Count /d 3 /f
w reg add "$key\\Group" /v Group1 /d 風景 /f
w reg add "$key\\Group" /v Group2 /d 模様 /f
w reg add "$key\\Group" /v Group3 /d お気に入り /f
n=0
for f in 山と空.jpg 夕焼け.bmp 水玉.gif 市松模様.bmp; do
  n=$((n + 1))
  w reg add "$key\\FileList\\風景\\Files" /v File$n /d "C:\\壁紙\\$f" /f
done
w reg add "$key\\FileList\\風景" /v Count /d $n /f
w reg add "$key\\FileList\\風景\\View" /v File1 /d 3 /f
w reg add "$key\\動作環境" /v ActiveGroup /d 1 /f
w reg add "$key\\動作環境" /v ActiveFile /d 1 /f
w reg add "$key\\動作環境" /v 時間変更 /d 1 /f
(cd "$build/bin" && env LOCPATH="$LOCPATH" LANG="$TAPESTRA_LANG" LC_ALL="$TAPESTRA_LANG" "$WINE" Tapestra32.exe \
  </dev/null >/dev/null 2>&1 &)
sleep 6
import -display "$DISPLAY" -window root "$out"
if [ -n "$trayout" ]; then
  # Right-click the program's tray icon (the right one of the two).
  xdotool mousemove --sync 1013 757 click 3 >/dev/null 2>&1 || true
  sleep 1.5
  import -display "$DISPLAY" -window root "$trayout"
  xdotool key Escape >/dev/null 2>&1 || true
fi
if [ -n "$appliedout" ]; then
  # 壁紙変更 > 次のﾌｧｲﾙ: the next file, stretched by its own position... then tiled.
  xdotool mousemove --sync 500 300 click 1 key --delay 200 alt+c a >/dev/null 2>&1 || true
  sleep 2
  import -display "$DISPLAY" -window root "$appliedout"
fi
w wineserver -k || true
