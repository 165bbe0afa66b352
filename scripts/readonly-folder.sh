#!/usr/bin/env bash
# A copy of the program in a folder nobody may write to, for the test of an
# apply that cannot write its BMP file:
#   up BUILD    copy the program into BUILD/bin/readonly, with an old
#               Tapestra32.BMP, and lock the folder and that file
#   down BUILD  unlock and remove it
# The tests run as root, for whom Wine ignores the read-only attribute and
# Unix permissions: the immutable attribute denies writes even to root. Where
# it cannot be set (another file system, no capability), the permissions are
# taken away instead, which holds for anyone but root; the test checks that
# the folder really refuses a new file before it relies on it.
set -eu
cmd=$1
bin=$(cd "$2/bin" && pwd)
dir=$bin/readonly

unlock() {
  if [ -e "$dir" ]; then
    chattr -i "$dir" "$dir/Tapestra32.BMP" 2>/dev/null || true
    chmod -R u+w "$dir"
    rm -rf "$dir"
  fi
}

case $cmd in
  up)
    unlock
    mkdir -p "$dir"
    cp "$bin/Tapestra32.exe" "$bin/OrvelCtl.dll" "$bin"/*.spi "$dir/"
    printf 'BM an older wallpaper' >"$dir/Tapestra32.BMP"
    chattr +i "$dir/Tapestra32.BMP" "$dir" 2>/dev/null || chmod a-w "$dir/Tapestra32.BMP" "$dir"
    ;;
  down) unlock ;;
  *) echo "usage: $0 up|down BUILD" >&2; exit 2 ;;
esac
