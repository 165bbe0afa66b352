#!/usr/bin/env bash
# Configures and builds one architecture: build.sh win32|win64 [--no-tests]
# into ${TAPESTRA_BUILD_ROOT:-build}/ARCH.
set -eu
cd "$(dirname "$0")/.."
root=${TAPESTRA_BUILD_ROOT:-build}
arch=$1
tests=ON
[ "${2:-}" = --no-tests ] && tests=OFF
case $arch in
  win32) toolchain=cmake/mingw-w64-i686.cmake ;;
  win64) toolchain=cmake/mingw-w64-x86_64.cmake ;;
  *) echo "usage: $0 win32|win64 [--no-tests]" >&2; exit 2 ;;
esac
cmake -S . -B "$root/$arch" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DTAPESTRA_TESTS=$tests >/dev/null
cmake --build "$root/$arch" -j"$(nproc)"
