#!/usr/bin/env bash
# Brings a throwaway Wine session up or down for one build tree:
#   up BUILD [win32|win64]
#               start Xvfb on a free display, lay a fresh 32-bit prefix in
#               BUILD/wine-run/prefix (copied from a template made once per build
#               tree), start a persistent wineserver, Wine's services and the
#               desktop, and write
#               BUILD/wine-run/env for scripts/wine-exec.sh.
#   down BUILD  stop the wineserver and Xvfb, remove the prefix.
# Never touches ~/.wine. Environment: TAPESTRA_LOCALE=ja (default) or en,
# TAPESTRA_SCREEN (default 1024x768x24), TAPESTRA_RUN (the session's folder in
# BUILD, default wine-run: sessions in other folders run side by side),
# TAPESTRA_MONITORS (several monitors instead of the virtual desktop, below).
#
# TAPESTRA_MONITORS=WxH+X+Y,WxH+X+Y,... lays RandR monitors over one Xvfb
# screen (X coordinates, the first one primary) and runs Wine without its
# virtual desktop, on the X11 driver's Xinerama view, the one that reports
# RandR monitors to Wine 8. Windows coordinates start at the primary's
# top-left, so a monitor left of or above it has negative ones. There is no
# task bar or tray then, and no wallpaper is drawn: for monitor tests only.
set -eu
cmd=$1
build=$(cd "$2" && pwd)
arch=${3:-win32}
run=$build/${TAPESTRA_RUN:-wine-run}
template=$build/wine-template

# A 64-bit build runs under the 64-bit loader (hosts without 32-bit support).
if [ "$arch" = win64 ]; then wine=/usr/lib/wine/wine64; else wine=/usr/lib/wine/wine; fi
export WINEARCH=$arch WINEDEBUG=-all WINELOADER=$wine
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

locale_dir=$build/locale
make_locale() {
  if [ ! -d "$locale_dir/ja_JP.UTF-8" ]; then
    mkdir -p "$locale_dir"
    localedef -i ja_JP -f UTF-8 "$locale_dir/ja_JP.UTF-8" >/dev/null 2>&1 || true
  fi
  if [ ! -d "$locale_dir/en_US.UTF-8" ]; then
    localedef -i en_US -f UTF-8 "$locale_dir/en_US.UTF-8" >/dev/null 2>&1 || true
  fi
}

free_display() {
  local n=90
  while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
  echo $n
}

# A .reg file for regedit: UTF-16LE with a byte-order mark, CRLF lines.
write_reg() {
  { printf 'Windows Registry Editor Version 5.00\n\n'; cat; } | sed 's/$/\r/' |
    iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$1"
}

make_template() {
  [ -f "$template/.done" ] && return 0
  rm -rf "$template"
  mkdir -p "$template"
  # Made under the Japanese locale, so Wine picks Japanese system fonts.
  WINEPREFIX=$template DISPLAY= LOCPATH=$locale_dir LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 \
    $wine wineboot -i </dev/null >/dev/null 2>&1 || true
  WINEPREFIX=$template wineserver -w
  # Debian's Wine does not find its own fonts (Marlett draws the caption buttons).
  for f in /usr/share/wine/fonts/*; do
    [ -e "$f" ] && ln -sf "$f" "$template/drive_c/windows/Fonts/$(basename "$f")"
  done
  write_reg "$template/drive_c/setup.reg" <<'REG'
[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"
[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"
[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Audio"=""
[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ Ｐゴシック"="IPAPGothic"
"MS PGothic"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"
"MS Gothic"="IPAGothic"
"ＭＳ 明朝"="IPAMincho"
"MS Mincho"="IPAMincho"
"ＭＳ Ｐ明朝"="IPAPMincho"
"MS PMincho"="IPAPMincho"
"MS UI Gothic"="IPAPGothic"
"MS Shell Dlg"="IPAPGothic"
"Tahoma"="IPAPGothic"
REG
  WINEPREFIX=$template DISPLAY= $wine regedit /S 'C:\setup.reg' </dev/null >/dev/null 2>&1 || true
  WINEPREFIX=$template wineserver -w
  touch "$template/.done"
}

# The X screen that holds every monitor of TAPESTRA_MONITORS.
monitors_screen() {
  echo "$TAPESTRA_MONITORS" | tr ',' '\n' | awk -F'[x+]' '
    { if ($1 + $3 > w) w = $1 + $3; if ($2 + $4 > h) h = $2 + $4 }
    END { printf "%dx%dx24", w, h }'
}

# One RandR monitor each; the first takes the screen's output, so that the
# output's own monitor, which covers the whole screen, goes away. The server
# must not reset between the calls (-noreset): that would drop them.
set_monitors() {
  local i=0 geometry output
  for geometry in ${TAPESTRA_MONITORS//,/ }; do
    output=none
    [ $i = 0 ] && output=screen
    DISPLAY=:$1 xrandr --setmonitor "TAPESTRA$i" \
      "$(echo "$geometry" | sed -E 's#^([0-9]+)x([0-9]+)#\1/300x\2/200#')" "$output" >/dev/null
    i=$((i + 1))
  done
}

up() {
  down_quiet
  make_locale
  make_template
  mkdir -p "$run"
  local screen=${TAPESTRA_SCREEN:-1024x768x24} reset=
  if [ -n "${TAPESTRA_MONITORS:-}" ]; then
    command -v xrandr >/dev/null || { echo "wine-harness: xrandr is missing (scripts/setup.sh)" >&2; exit 2; }
    screen=$(monitors_screen) reset=-noreset
  fi
  local n
  # Sessions coming up side by side (ctest -j) must not pick the same display.
  exec 8>/tmp/tapestra-display.lock
  flock 8
  n=$(free_display)
  setsid Xvfb :$n -screen 0 "$screen" $reset -nolisten tcp </dev/null >/dev/null 2>&1 8>&- &
  echo $! >"$run/xvfb.pid"
  for _ in $(seq 1 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
  exec 8>&-
  if [ -n "$reset" ]; then set_monitors "$n"; fi
  cp -a "$template" "$run/prefix"
  local lang=ja_JP.UTF-8
  [ "${TAPESTRA_LOCALE:-ja}" = en ] && lang=en_US.UTF-8
  cat >"$run/env" <<ENV
export WINEARCH=$arch WINEDEBUG=-all WINELOADER=$wine WINE=$wine
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEPREFIX="$run/prefix"
export DISPLAY=:$n
export LOCPATH="$locale_dir"
export TAPESTRA_LANG=$lang
ENV
  # Start the server and Wine's services once, detached from our output, so
  # that ctest does not wait on pipes they inherit.
  (
    # shellcheck disable=SC1091
    . "$run/env"
    setsid wineserver -p600 </dev/null >/dev/null 2>&1
    if [ -n "${TAPESTRA_MONITORS:-}" ]; then
      # No virtual desktop, and monitors from Xinerama rather than RandR's outputs.
      setsid env LOCPATH="$LOCPATH" LANG=$lang LC_ALL=$lang "$WINE" reg delete 'HKCU\Software\Wine\Explorer' \
        /v Desktop /f </dev/null >/dev/null 2>&1 || true
      setsid env LOCPATH="$LOCPATH" LANG=$lang LC_ALL=$lang "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' \
        /v UseXRandR /d N /f </dev/null >/dev/null 2>&1
    fi
    setsid env LOCPATH="$LOCPATH" LANG=$lang LC_ALL=$lang "$WINE" cmd /c exit </dev/null >/dev/null 2>&1
    # The desktop too, kept for the whole session: otherwise every test program
    # that opens a window starts it anew, and it holds that test's output open
    # for the second Wine waits before closing an unused desktop.
    setsid env LOCPATH="$LOCPATH" LANG=$lang LC_ALL=$lang "$WINE" explorer.exe /desktop </dev/null >/dev/null 2>&1 &
  ) 9>&-
  echo "wine session up: DISPLAY=:$n WINEPREFIX=$run/prefix ($lang)"
}

down_quiet() {
  if [ -f "$run/env" ]; then
    # Kill the session's programs and wait until its server has gone, so
    # nothing writes into the prefix while it is removed.
    ( . "$run/env"; wineserver -k >/dev/null 2>&1 || true; timeout 20 wineserver -w >/dev/null 2>&1 || true )
  fi
  if [ -f "$run/xvfb.pid" ]; then
    kill "$(cat "$run/xvfb.pid")" 2>/dev/null || true
  fi
  for _ in 1 2 3 4 5; do
    rm -rf "$run" 2>/dev/null && return 0
    sleep 1
  done
  echo "wine-harness: could not remove $run entirely" >&2
}

case $cmd in
  up) up ;;
  down) down_quiet; echo "wine session down" ;;
  *) echo "usage: $0 up|down BUILD" >&2; exit 2 ;;
esac
