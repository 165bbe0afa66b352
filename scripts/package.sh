#!/usr/bin/env bash
# Builds the 32-bit release and writes dist/Tapestra32-<version>.zip: the
# program, OrvelCtl.dll, the image plug-ins we ship and README.txt.
# Usage: scripts/package.sh [--arch win32|win64] [--bin DIR] [--out DIR]
#   --arch  the build to package (win32, the release, by default)
#   --bin   package this build's bin folder as it is, without building
#   --out   where the zip goes (default dist)
set -eu
cd "$(dirname "$0")/.."
arch=win32 bin= out=dist
while [ $# -gt 0 ]; do
  case $1 in
    --arch) arch=$2; shift 2 ;;
    --bin) bin=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    *) echo "usage: $0 [--arch win32|win64] [--bin DIR] [--out DIR]" >&2; exit 2 ;;
  esac
done
command -v zip >/dev/null || { echo "package: zip is missing (scripts/setup.sh installs it)" >&2; exit 1; }

version=$(sed -n 's/^project(Tapestra32 VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
if [ -z "$bin" ]; then
  scripts/build.sh "$arch" --no-tests
  bin=${TAPESTRA_BUILD_ROOT:-build}/$arch/bin
fi
# The plug-ins we ship are the ones plugins/CMakeLists.txt builds.
plugins=$(sed -n 's/^add_spi(\([a-z0-9]*\))$/\1.spi/p' plugins/CMakeLists.txt)
files=(Tapestra32.exe OrvelCtl.dll)
for p in $plugins; do files+=("$p"); done
for f in "${files[@]}"; do
  [ -f "$bin/$f" ] || { echo "package: $bin/$f is missing" >&2; exit 1; }
done

name=Tapestra32-$version
[ "$arch" = win32 ] || name=$name-$arch
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
for f in "${files[@]}"; do cp "$bin/$f" "$stage/"; done
# Windows users read it in Notepad: UTF-8 with a byte-order mark, CRLF lines.
{ printf '\xef\xbb\xbf'; sed "s/@VERSION@/$version/; s/\$/\r/" resources/README.txt; } >"$stage/README.txt"

mkdir -p "$out"
zipfile=$(cd "$out" && pwd)/$name.zip
rm -f "$zipfile"
(cd "$stage" && zip -q -X "$zipfile" "${files[@]}" README.txt)
echo "$zipfile"
