#!/usr/bin/env bash
# run-desktop.sh BUILD ARCH: starts BUILD/bin/Tapestra32.exe in a Wine virtual
# desktop, in a prefix kept in BUILD/run-prefix (your settings survive).
set -eu
build=$(cd "$1" && pwd)
arch=$2
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${DISPLAY:-}" ]; then
  n=$(( $(ls /tmp/.X11-unix 2>/dev/null | sed 's/X//' | sort -n | tail -1 || echo 0) + 1 ))
  [ $n -lt 50 ] && n=50
  Xvfb :$n -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  export DISPLAY=:$n
  sleep 1
  echo "No display: started Xvfb on $DISPLAY."
  echo "Screenshot: import -display $DISPLAY -window root shot.png"
fi
# The harness makes the template prefix (fonts, Japanese locale, settings).
if [ ! -d "$build/run-prefix" ]; then
  "$here/wine-harness.sh" up "$build" "$arch" >/dev/null
  "$here/wine-harness.sh" down "$build" >/dev/null
  cp -a "$build/wine-template" "$build/run-prefix"
fi
if [ "$arch" = win64 ]; then wine=/usr/lib/wine/wine64; else wine=/usr/lib/wine/wine; fi
export WINEPREFIX=$build/run-prefix WINEARCH=$arch WINEDEBUG=-all WINELOADER=$wine
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LOCPATH=$build/locale LANG=${TAPESTRA_RUN_LANG:-ja_JP.UTF-8} LC_ALL=${TAPESTRA_RUN_LANG:-ja_JP.UTF-8}
cd "$build/bin"
echo "Starting Tapestra32 (prefix $WINEPREFIX, display $DISPLAY)"
exec "$wine" explorer /desktop=Tapestra32,1024x768 Tapestra32.exe
