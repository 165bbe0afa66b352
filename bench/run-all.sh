#!/usr/bin/env bash
# Runs every benchmark in one Wine session and prints one table: the figure,
# the baseline measured in the same run, their ratio and the target.
#   bench/run-all.sh [runs]
# Builds the 32-bit program where this machine can run it, the 64-bit build of
# the same sources otherwise (and says so). ImageMagick is always the packaged
# /usr/bin/convert: a `convert` earlier in PATH may be a wrapper script.
set -eu
cd "$(dirname "$0")/.."
here=$(pwd)
runs=${1:-10}
arch=$(scripts/host-arch.sh)
[ "$arch" = win64 ] && echo "This kernel cannot run 32-bit code: measuring the 64-bit build of the same sources."
scripts/build.sh "$arch" >/dev/null
build=$(cd "${TAPESTRA_BUILD_ROOT:-build}/$arch" && pwd)
im=/usr/bin/convert
[ -x "$im" ] || { echo "ImageMagick (/usr/bin/convert) is missing: scripts/setup.sh installs it" >&2; exit 2; }

export TAPESTRA_RUN=bench-run TAPESTRA_BUILD=$build
work=$(mktemp -d)
# Everything runs on one CPU (TAPESTRA_BENCH_PIN=0 turns that off). Under
# Wine each registry read and window query is a round trip to the wineserver;
# on a virtual machine a round trip between two CPUs often waits for the idle
# one to wake, which made the same start 5-10 times slower at random. On one
# CPU the round trip is a plain task switch, and runs agree to a few percent.
pin=()
if [ "${TAPESTRA_BENCH_PIN:-1}" != 0 ] && command -v taskset >/dev/null && [ "$(nproc)" -gt 1 ]; then
  pin=(taskset -c 0)
fi
"${pin[@]}" scripts/wine-harness.sh up "$build" "$arch" >/dev/null
trap 'scripts/wine-harness.sh down "$build" >/dev/null; rm -rf "$work"' EXIT
run() { "${pin[@]}" scripts/wine-exec.sh "$build/bin/$1" "${@:2}" | tr -d '\r'; }
winpath() { echo "Z:${1//\//\\}"; }
median() { sort -n | awk '{v[NR]=$1} END {if (NR%2) print v[(NR+1)/2]; else print (v[NR/2]+v[NR/2+1])/2}'; }
time_ms() {
  local s e
  s=$(date +%s%N); "${pin[@]}" "$@" >/dev/null 2>&1; e=$(date +%s%N)
  awk -v d=$((e - s)) 'BEGIN {printf "%.1f", d / 1e6}'
}
repeat_ms() { for _ in $(seq "$runs"); do time_ms "$@"; echo; done | median; }

rows=()
row() { rows+=("$(printf '%-44s %10s %10s %7s  %s' "$1" "$2" "$3" \
  "$(awk -v a="$2" -v b="$3" 'BEGIN {if (b > 0) printf "%.2fx", a / b; else print "-"}')" "$4")"); }

# Pictures: two different 1920x1080 JPEGs (a 'next' change alternates them)
# and two 3840x2160 ones for the end of the session.
for size in 1920x1080 3840x2160; do
  for seed in 7 8; do
    "$im" -size "$size" -seed $seed plasma:fractal -quality 90 "$work/p$size-$seed.jpg"
  done
done
hd=$work/p1920x1080-7.jpg

# Start-up and idle memory against the floor program, interleaved. The floor
# loads the system DLLs the program imports (not the program's own DLLs).
if [ "$arch" = win64 ]; then objdump=x86_64-w64-mingw32-objdump; else objdump=i686-w64-mingw32-objdump; fi
dlls=()
for dll in $("$objdump" -p "$build/bin/Tapestra32.exe" | sed -n 's/^\s*DLL Name: //p'); do
  [ -e "$build/bin/$dll" ] || dlls+=("$dll")
done
while read -r name ours floor; do
  case $name in
    startup-empty) row "start-up, empty library (ms)" "$ours" "$floor" "<= 1.3x floor" ;;
    startup-full) row "start-up, 50 groups, 1,000 files (ms)" "$ours" "$floor" "<= 1.5x floor" ;;
    idle-memory) row "working set 5 s after start, 1,000 files (MB)" "$ours" "$floor" "<= floor + 2 MB" ;;
  esac
done < <(run startup_bench.exe "$runs" 1000 "${dlls[@]}")
# The breakdown comes from runs of their own: a traced step reads the working
# set, a wineserver round trip that the figures above should not carry.
TAPESTRA_STEP_TRACE=$(winpath "$work/start") run startup_bench.exe 3 1000 "${dlls[@]}" >/dev/null

# A 'next' change in process against ImageMagick's whole process; the
# in-process decode and the whole bench process for the like-for-like view.
change=$(run change_bench.exe "$(winpath "$hd")" "$(winpath "$work/p1920x1080-8.jpg")" "$runs")
TAPESTRA_STEP_TRACE=$(winpath "$work/change.txt") \
  run change_bench.exe "$(winpath "$hd")" "$(winpath "$work/p1920x1080-8.jpg")" 5 >/dev/null
im_ms=$(repeat_ms "$im" "$hd" "$work/im.bmp")
row "'next' change to a 1920x1080 JPEG, in process (ms)" "$(sed -n 's/^change \([0-9.]*\).*/\1/p' <<<"$change")" "$im_ms" \
  "<= 1.0x convert (whole process)"
decode=$(run bench_jpeg_decode.exe "$(winpath "$hd")" "$(winpath "$work/spi.bmp")" "$runs" | sed -n 's/^median: \([0-9.]*\) ms.*/\1/p')
row "  of it: load via ifjpeg.spi + BMP save (ms)" "$decode" "$im_ms" "(breakdown)"
process_ms=$(repeat_ms scripts/wine-exec.sh "$build/bin/bench_jpeg_decode.exe" "$(winpath "$hd")" "$(winpath "$work/spi.bmp")" 1)
row "  the same as a whole Wine process (ms)" "$process_ms" "$im_ms" "(like for like)"

# One change at the end of the session, 3840x2160.
eos=$(run change_bench.exe "$(winpath "$work/p3840x2160-7.jpg")" "$(winpath "$work/p3840x2160-8.jpg")" 3 \
  | sed -n 's/^end-of-session //p')
row "end-of-session change, 3840x2160 JPEG (ms)" "$eos" 1000 "< 1 s"

# Tiled apply against a raw write of the same bytes.
while read -r name size ms raw; do
  case $name in
    tiled*) target="<= 1.2x raw write" ;;
    *) target="(the limit: a raw write)" ;;
  esac
  row "$name $size apply (ms)" "$ms" "$raw" "$target"
done < <(run apply_bench.exe "$(winpath "$work")" "$runs")

# The wallpaper of two 3840x2160 monitors against a raw write of the same bytes.
while read -r name size ms raw; do
  row "$name $size apply (ms)" "$ms" "$raw" "<= 1.2x raw write"
done < <(run monitors_bench.exe "$(winpath "$work")" "$runs")

# The streaming resampler shrinking 6000x4000 to 1920x1080, against a memcpy
# of the same source bytes.
while read -r name ms copy; do
  row "$name 6000x4000 to 1920x1080 (ms)" "$ms" "$copy" "(baseline: memcpy of the source)"
done < <(run resample_bench.exe "$runs")

# Big photos at screen cost: GetPictureAtSize of ifjpeg.spi for a 1920x1080
# screen (the size asked, the placement, the decode) against the platform
# decoder's own full decode of the same file; each in a process of its own,
# so the peak working sets compare. 108 MP is 2x2 tiles of plasma.
"$im" -size 4000x3000 -seed 5 plasma:fractal -quality 90 "$work/photo-12mp.jpg"
"$im" -size 6000x4000 -seed 7 plasma:fractal -quality 90 "$work/photo-24mp.jpg"
"$im" -size 6000x4500 -seed 9 plasma:fractal -write mpr:tile +delete -size 12000x9000 tile:mpr:tile \
  -quality 90 "$work/photo-108mp.jpg"
for photo in 12mp:4000x3000 24mp:6000x4000 108mp:12000x9000; do
  file=$(winpath "$work/photo-${photo%%:*}.jpg") size=${photo#*:} n=$runs
  [ "${photo%%:*}" = 108mp ] && n=$(( runs < 3 ? runs : 3 ))
  read -r _ decode_ms decode_mb _ < <(run bench_sized_decode.exe platform "$file" "$n")
  # The whole 'next' change as the program makes it, one process per position.
  peak=0
  for mode in fill:4 fit:5 stretch:3; do
    read -r _ ms mb < <(run change_bench.exe "$file" "$file" "$n" "${mode#*:}" 1920x1080 | grep '^change')
    row "$size JPEG, 'next' change in ${mode%%:*} (ms)" "$ms" "$decode_ms" "<= 1.3x platform decode"
    peak=$(awk -v a="$peak" -v b="$mb" 'BEGIN {print (b > a ? b : a)}')
  done
  row "  peak working set of those changes (MB)" "$peak" "$decode_mb" "<= decode + 32 MB"
  peak=0
  for mode in fill fit stretch; do
    read -r _ ms mb _ < <(run bench_sized_decode.exe $mode "$file" "$n")
    row "$size JPEG, sized decode for $mode (ms)" "$ms" "$decode_ms" "(the change: <= 1.3x platform decode)"
    peak=$(awk -v a="$peak" -v b="$mb" 'BEGIN {print (b > a ? b : a)}')
  done
  row "  peak working set of those (MB)" "$peak" "$decode_mb" "(the change: <= decode + 32 MB)"
done

# Step medians of a trace file ("trace, step, ms, working set KB" lines), in
# the order first seen: the step's milliseconds and the working set after it.
steps() {
  tr -d '\r' <"$1" | awk -F'\t' -v only="$2" '
    function median(key, column,   m, a, b, t, w) {
      m = n[key]
      for (a = 1; a <= m; a++) w[a] = v[key, a, column]
      for (a = 1; a <= m; a++) for (b = a + 1; b <= m; b++) if (w[b] < w[a]) { t = w[a]; w[a] = w[b]; w[b] = t }
      return m % 2 ? w[(m + 1) / 2] : (w[m / 2] + w[m / 2 + 1]) / 2
    }
    only != "" && $1 !~ only { next }
    { key = $1 " / " $2; if (!(key in n)) order[++count] = key; n[key]++; v[key, n[key], 3] = $3; v[key, n[key], 4] = $4 }
    END {
      for (i = 1; i <= count; i++)
        printf "  %-44s %8.1f ms %8.1f MB\n", order[i], median(order[i], 3), median(order[i], 4) / 1024
    }'
}

echo "machine: $(nproc) cores, $(uname -m); $(wine --version 2>/dev/null || echo wine); build: $arch; $runs runs each"
[ ${#pin[@]} -gt 0 ] && echo "every program pinned to one CPU (taskset -c 0), ImageMagick too"
printf '%-44s %10s %10s %7s  %s\n' figure Tapestra32 baseline ratio target
printf '%s\n' "${rows[@]}"
for case in full empty; do
  [ -f "$work/start-$case.txt" ] || continue
  echo
  echo "where a start goes, $case library (medians: the step's time, the working set after it;"
  echo "the rest of a start is the message loop's first paint):"
  steps "$work/start-$case.txt" '^(program|start)$'
  steps "$work/start-$case.txt" '^floor$'
done
if [ -f "$work/change.txt" ]; then
  echo
  echo "where a 'next' change goes (median ms):"
  steps "$work/change.txt" '^(change|apply)$'
fi
