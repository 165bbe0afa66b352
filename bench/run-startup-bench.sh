#!/usr/bin/env bash
# Start-up with a full library (50 groups, the active one with 1,000 files):
# time until the main window is shown, warm, under Wine.
#   bench/run-startup-bench.sh [BUILD] [runs]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build/$("$here/scripts/host-arch.sh")}" && pwd)
runs=${2:-10}
arch=win32; grep -q x86_64 "$build/CMakeCache.txt" && arch=win64
"$here/scripts/wine-harness.sh" up "$build" "$arch" >/dev/null
trap '"$here/scripts/wine-harness.sh" down "$build" >/dev/null' EXIT
TAPESTRA_BUILD=$build "$here/scripts/wine-exec.sh" "$build/bin/startup_bench.exe" "$runs" | tr -d '\r'
