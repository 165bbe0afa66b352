#!/usr/bin/env bash
# Takes the screenshots of the owner-drawn menus and the rounded hint:
# scripts/look-screenshots.sh BUILD ARCH MENUS.png HINT.png
set -eu
build=$(cd "$1" && pwd); arch=$2; menus=$3; hint=$4
here=$(cd "$(dirname "$0")" && pwd)
export TAPESTRA_RUN=look-shots
"$here/wine-harness.sh" up "$build" "$arch" >/dev/null
trap '"$here/wine-harness.sh" down "$build" >/dev/null' EXIT
. "$build/$TAPESTRA_RUN/env"
tmp=$(mktemp -d)
(cd "$build/bin" && env LOCPATH="$LOCPATH" LANG="$TAPESTRA_LANG" LC_ALL="$TAPESTRA_LANG" "$WINE" Tapestra32.exe \
  </dev/null >/dev/null 2>&1 &)
# The window's top-left corner once it has settled (the first start centres it).
where() { xwininfo -display "$DISPLAY" -root -tree 2>/dev/null | grep '"Vintrel Ver3.20' |
  grep -o '[0-9]*x[0-9]*+[0-9]*+[0-9]*' | head -1 || true; }
geo=
for _ in $(seq 100); do
  now=$(where)
  [ -n "$now" ] && [ "$now" = "$geo" ] && break
  geo=$now
  sleep 0.5
done
x=$(echo "$geo" | cut -d+ -f2); y=$(echo "$geo" | cut -d+ -f3)
shot() { sleep 1; import -display "$DISPLAY" -window root "$tmp/$1.png"; }
crop() { convert "$tmp/$1.png" -crop "$2+$((x + $3))+$((y + $4))" +repage "$tmp/$1-c.png"; }
# A hot-tracked bar item: the mouse over 壁紙変更 with no menu open.
xdotool mousemove --sync $((x + 90)) $((y + 33)); sleep 0.3; xdotool mousemove --sync $((x + 91)) $((y + 34))
shot hot; crop hot 340x40 0 20
# ﾌｧｲﾙ > ｸﾞﾙｰﾌﾟ open, 壁紙変更 open, ﾍﾙﾌﾟ open (its version item is disabled here).
xdotool mousemove --sync $((x + 300)) $((y + 300)) click 1 key alt+f Down Right
shot file; crop file 340x120 0 20
xdotool key Escape Escape Escape alt+c
shot change; crop change 340x120 0 20
xdotool key Escape Escape alt+h
shot help; crop help 340x120 0 20
xdotool key Escape Escape
convert "$tmp/hot-c.png" "$tmp/file-c.png" "$tmp/change-c.png" "$tmp/help-c.png" -background '#2a6f97' -splice 0x4 -append "$menus"
# The rounded hint of the 並べて表示 button.
xdotool mousemove --sync $((x + 118)) $((y + 53)); sleep 0.3; xdotool mousemove --sync $((x + 119)) $((y + 54))
sleep 2; import -display "$DISPLAY" -window root "$tmp/hint.png"
convert "$tmp/hint.png" -crop "330x100+$x+$y" +repage "$hint"
wineserver -k || true
rm -rf "$tmp"
