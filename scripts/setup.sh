#!/usr/bin/env bash
# Installs what building and running Tapestra32 needs on Debian, when missing.
set -eu
need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
pkgs=(cmake make googletest g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine64 xvfb
      fonts-ipafont-gothic fonts-ipafont-mincho fonts-wine imagemagick locales x11-utils x11-xserver-utils xdotool zip unzip)
# 32-bit Wine runs the 32-bit program where the kernel can run 32-bit code.
if [ "$(dpkg --print-architecture)" = amd64 ]; then
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  # Wine's X11 driver loads these itself to find the monitors (Xinerama,
  # RandR); without them 32-bit Wine sees one monitor over the whole screen.
  pkgs+=(wine32:i386 libxinerama1:i386 libxrandr2:i386)
fi
for p in "${pkgs[@]}"; do have "$p" || need+=("$p"); done
if [ ${#need[@]} -gt 0 ]; then
  echo "installing: ${need[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd=sudo
  $sudo_cmd apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -q --no-install-recommends "${need[@]}"
fi
