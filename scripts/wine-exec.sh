#!/usr/bin/env bash
# Runs a Windows program of the build tree under Wine, in the prefix and on the
# display that scripts/wine-harness.sh brought up. Exit code is the program's.
#
# A listing of a test program's cases (--gtest_list_tests, as CTest's test
# discovery asks for it before any session is up) needs neither: it runs in a
# prefix of its own in the build tree, without a display.
set -eu
exe=$1; shift

# The build tree holding a program: the nearest folder above it with a CMakeCache.txt.
build_of() {
  local dir
  dir=$(cd "$(dirname "$1")" && pwd)
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  [ -f "$dir/CMakeCache.txt" ] || { echo "wine-exec: no build tree above $1" >&2; exit 2; }
  echo "$dir"
}

list_tests() {
  local build arch wine pe out err rc
  build=$(build_of "$exe")
  # The program's width, from the machine field of its PE header.
  pe=$(od -An -tu4 -j60 -N4 "$exe" | tr -d ' ')
  if [ "$(od -An -tx2 -j$((pe + 4)) -N2 "$exe" | tr -d ' ')" = 8664 ]; then
    arch=win64 wine=/usr/lib/wine/wine64
  else
    arch=win32 wine=/usr/lib/wine/wine
  fi
  export WINEARCH=$arch WINEDEBUG=-all WINELOADER=$wine WINEPREFIX=$build/wine-list/$arch
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  unset DISPLAY WAYLAND_DISPLAY
  mkdir -p "$build/wine-list"
  out=$(mktemp) err=$(mktemp)
  # One listing at a time per prefix (the first one creates it). Wine's
  # services outlive the program and keep whatever output it had: give them
  # files, never the pipe CTest reads, nor the lock.
  exec 9>"$build/wine-list/$arch.lock"
  flock 9
  set +e
  "$wine" "$exe" "$@" </dev/null >"$out" 2>"$err" 9>&-
  rc=$?
  set -e
  exec 9>&-
  tr -d '\r' <"$out"
  [ "$rc" = 0 ] || cat "$err" >&2
  rm -f "$out" "$err"
  exit "$rc"
}

for arg in "$@"; do
  if [ "$arg" = --gtest_list_tests ]; then list_tests "$@"; fi
done

build=${TAPESTRA_BUILD:-$(cd "$(dirname "$exe")/.." && pwd)}
env_file=$build/${TAPESTRA_RUN:-wine-run}/env
if [ ! -f "$env_file" ]; then
  echo "wine-exec: no Wine session in $build (run: scripts/wine-harness.sh up $build)" >&2
  exit 2
fi
# shellcheck disable=SC1090
. "$env_file"
exec env LOCPATH="$LOCPATH" LANG="$TAPESTRA_LANG" LC_ALL="$TAPESTRA_LANG" "$WINE" "$exe" "$@"
