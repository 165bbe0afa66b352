#!/usr/bin/env bash
# Times a 1920x1080 JPEG turned into a BMP file: through the picture component
# and ifjpeg.spi under Wine (bench_jpeg_decode.exe, in-process median: load the
# plug-in, decode, convert to the screen's format, write the BMP)
# and through ImageMagick's convert on Linux (median of whole runs), the same
# number of times on the same file. Also times whole Wine process runs of the
# bench program, one picture each, for a like-for-like process comparison.
#   bench/run-jpeg-bench.sh [BUILD_DIR] [RUNS]
# BUILD_DIR defaults to ${TAPESTRA_BUILD_ROOT:-build}/win64 and must have been
# built with tests on (scripts/build.sh win64).
set -eu
cd "$(dirname "$0")/.."
build=$(cd "${1:-${TAPESTRA_BUILD_ROOT:-build}/win64}" && pwd)
runs=${2:-10}
exe=$build/bin/bench_jpeg_decode.exe
[ -f "$exe" ] || { echo "no $exe: build first" >&2; exit 2; }
# The packaged ImageMagick program itself, not a wrapper earlier in PATH.
im=${IM_CONVERT:-/usr/bin/convert}
[ -x "$im" ] || im=$(command -v convert)

work=$build/bench-jpeg
mkdir -p "$work"
picture=$work/in.jpg
[ -f "$picture" ] || "$im" -size 1920x1080 -seed 7 plasma:fractal -quality 90 "$picture"

arch=win64
grep -q 'CMAKE_SYSTEM_PROCESSOR:.*=i686' "$build/CMakeCache.txt" 2>/dev/null && arch=win32
started=
if [ ! -f "$build/wine-run/env" ]; then
  scripts/wine-harness.sh up "$build" "$arch" >/dev/null
  started=1
fi
cleanup() { [ -n "$started" ] && scripts/wine-harness.sh down "$build" >/dev/null; }
trap cleanup EXIT

median() { sort -n | awk '{v[NR]=$1} END {if (NR%2) print v[(NR+1)/2]; else print (v[NR/2]+v[NR/2+1])/2}'; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Wine maps the Linux root to drive Z:.
winpath() { echo "Z:${1//\//\\}"; }
winpic=$(winpath "$picture")
winbmp=$(winpath "$work/spi.bmp")

echo "picture: $(identify -format '%wx%h %b' "$picture"), $runs runs"
spi_out=$(TAPESTRA_BUILD=$build scripts/wine-exec.sh "$exe" "$winpic" "$winbmp" "$runs" | tr -d '\r')
spi_median=$(echo "$spi_out" | sed -n 's/^median: \([0-9.]*\) ms.*/\1/p')

process_times=()
for _ in $(seq "$runs"); do
  t0=$(now_ms)
  TAPESTRA_BUILD=$build scripts/wine-exec.sh "$exe" "$winpic" "$winbmp" 1 >/dev/null
  process_times+=($(($(now_ms) - t0)))
done

im_times=()
for _ in $(seq "$runs"); do
  t0=$(now_ms)
  "$im" "$picture" "$work/im.bmp"
  im_times+=($(($(now_ms) - t0)))
done

echo "TAll via ifjpeg.spi + BMP save, in process under Wine:   median $spi_median ms"
echo "bench_jpeg_decode.exe whole Wine process, one picture:   median $(printf '%s\n' "${process_times[@]}" | median) ms"
echo "ImageMagick convert in.jpg out.bmp, whole process:      median $(printf '%s\n' "${im_times[@]}" | median) ms"
pae=$(compare -metric PAE "$work/spi.bmp" "$work/im.bmp" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p' || true)
echo "both BMPs $(identify -format '%wx%h' "$work/spi.bmp"); largest channel difference:" \
  "$(awk -v p="${pae:-nan}" 'BEGIN {printf "%.0f", p * 255}')/255"
