#!/usr/bin/env bash
# package-test.sh BUILD ARCH: scripts/package.sh makes the zip of this build;
# it holds exactly the program, OrvelCtl.dll, the shipped plug-ins and
# README.txt; the program starts from the folder it unzips to, and without
# OrvelCtl.dll Windows refuses to start it.
set -eu
build=$(cd "$1" && pwd); arch=$2
src=$(cd "$(dirname "$0")/../.." && pwd)
out=$build/package-test
rm -rf "$out"
zipfile=$("$src/scripts/package.sh" --arch "$arch" --bin "$build/bin" --out "$out")

expected=$(printf '%s\n' Tapestra32.exe OrvelCtl.dll ifjpeg.spi ifgif.spi iftiff.spi ifpng.spi README.txt | sort)
actual=$(unzip -Z1 "$zipfile" | sort)
if [ "$actual" != "$expected" ]; then
  echo "$(basename "$zipfile") holds:"; echo "$actual"; echo "expected:"; echo "$expected"
  exit 1
fi
echo "$(basename "$zipfile"): $(echo "$actual" | tr '\n' ' ')"
unzip -q "$zipfile" -d "$out/unzipped"
grep -q $'\r$' "$out/unzipped/README.txt" || { echo "README.txt has no CRLF lines"; exit 1; }
grep -q 'OrvelCtl.dll' "$out/unzipped/README.txt"

windows_path() { echo "Z:${1//\//\\}"; }
"$src/scripts/wine-exec.sh" "$build/bin/start_check.exe" "$(windows_path "$out/unzipped")" started
rm "$out/unzipped/OrvelCtl.dll"
"$src/scripts/wine-exec.sh" "$build/bin/start_check.exe" "$(windows_path "$out/unzipped")" refused
rm -rf "$out"
