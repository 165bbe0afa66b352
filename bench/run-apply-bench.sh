#!/usr/bin/env bash
# Times the apply step's BMP work against ImageMagick producing the same
# files, in one run. Usage: bench/run-apply-bench.sh [BUILD] [runs]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build/$("$here/scripts/host-arch.sh")}" && pwd)
runs=${2:-10}
arch=win32; [ -f "$build/CMakeCache.txt" ] && grep -q x86_64 "$build/CMakeCache.txt" && arch=win64
out=$(mktemp -d)
"$here/scripts/wine-harness.sh" up "$build" "$arch" >/dev/null
trap '"$here/scripts/wine-harness.sh" down "$build" >/dev/null; rm -rf "$out"' EXIT
. "$build/wine-run/env"
winout=$(env WINEPREFIX="$WINEPREFIX" "$WINE" winepath -w "$out" 2>/dev/null)
ours=$(TAPESTRA_BUILD=$build "$here/scripts/wine-exec.sh" "$build/bin/apply_bench.exe" "$winout" "$runs" | tr -d '\r')
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
time_ms() { local s e; s=$(date +%s%N); "$@" >/dev/null 2>&1; e=$(date +%s%N); echo $(( (e - s) / 1000000 )); }
printf '%-28s %12s %14s %8s\n' case "ours (ms)" "ImageMagick" ratio
while read -r name size ms; do
  w=${size%x*}; h=${size#*x}
  if [ "$name" = centred ]; then
    im=$(for _ in $(seq "$runs"); do time_ms convert "$out/whole$w.bmp" "$out/im.bmp"; done | median)
  else
    tile=${name#tiled}
    im=$(for _ in $(seq "$runs"); do time_ms convert -size "${w}x${h}" "tile:$out/tile$tile.bmp" "$out/im.bmp"; done | median)
  fi
  printf '%-28s %12s %14s %8s\n' "$name $size" "$ms" "$im" "$(awk -v a="$ms" -v b="$im" 'BEGIN{printf "%.1fx", b/a}')"
done <<<"$ours"
