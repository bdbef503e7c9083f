#!/usr/bin/env bash
# Installs every Debian package the project needs. Idempotent and unattended:
# it installs only what is missing and says what it does.
set -euo pipefail

packages=(
  cmake g++ clang libclang-rt-14-dev clang-format
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-tools
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine32:i386 wine64 libxrandr2:i386 libxinerama1:i386
  xvfb xserver-xorg-video-dummy x11-xserver-utils xdotool x11-utils imagemagick
  locales fonts-wqy-microhei
  libpng-dev libspng-dev libqoi-dev googletest libgtest-dev libbenchmark-dev
  librsvg2-bin sox
)

log() { echo "[setup] $*"; }

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    log "adding the i386 architecture (for wine32)"
    "${sudo_cmd[@]}" dpkg --add-architecture i386
  fi
  log "apt-get update"
  "${sudo_cmd[@]}" apt-get update -q
  log "installing: ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
else
  log "all packages present"
fi

# Wine's ANSI code page follows the locale: zh_CN.UTF-8 gives code page 936.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  log "generating the zh_CN.UTF-8 locale"
  if ! grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'zh_CN.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  fi
  "${sudo_cmd[@]}" locale-gen
fi

log "done"
