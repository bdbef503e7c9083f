#!/usr/bin/env bash
# The Wine harness: `harness.sh start STATE [32|64 [KEEPER]]` makes a fresh
# Wine prefix of that flavour under STATE (by default the flavour this host
# prefers, see wine-flavours.sh), starts a private Xvfb on a free display and
# one persistent wineserver, and, given the desktop-keeper program, keeps one
# desktop up for the whole run; `harness.sh stop STATE` ends them all.
# DIDA_X_SERVER=xorg-dummy starts Xorg with its dummy driver instead of Xvfb
# (as root): one 1024 x 768 monitor, DUMMY0, to which `xrandr` can add more
# (DUMMY1 and on), the way a test gets several monitors. DIDA_X_SETUP, a
# shell command, runs on the new display before Wine first starts (32-bit
# Wine here, without i386 libXrandr, takes the monitors only at its start).
# DIDA_DPI (96 to 480) is the display's DPI in the prefix, set before any
# program of ours starts; without it Wine's own 96 stays.
# STATE/env.sh holds the environment every Wine command of the run uses (see
# wine-run.sh): it puts STATE/bin first on PATH, whose `wine`, `winepath`,
# `wineboot` and `wineserver` are the flavour's own, so no script reaches
# Debian's wrapper.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck disable=SC1091
. "$here/wine-lib.sh"

usage="usage: harness.sh start|stop STATE [32|64 [KEEPER]]"
action=${1:?$usage}
state=${2:?$usage}
mkdir -p "$state"
state=$(cd "$state" && pwd)

log() { echo "[harness] $*"; }

stop_harness() {
  if [ -f "$state/env.sh" ]; then
    # shellcheck disable=SC1091
    . "$state/env.sh"
    wineserver -k 2>/dev/null || true
  fi
  if [ -f "$state/xserver.pid" ]; then
    kill "$(cat "$state/xserver.pid")" 2>/dev/null || true
    rm -f "$state/xserver.pid"
  fi
}

# The X server picks a free display itself and writes its number to fd 3:
# two harnesses starting at the same moment (one per flavour) can never both
# take the same display, as they could when each looked for a free number
# and then waited for that display's socket (the other's served as well).
start_xserver() {
  rm -f "$state/display"
  if [ "${DIDA_X_SERVER:-xvfb}" = xorg-dummy ]; then
    dummy_config >"$state/xorg.conf"
    Xorg -displayfd 3 -config "$state/xorg.conf" -noreset -nolisten tcp -novtswitch \
      -sharevts vt7 -logfile "$state/xorg.log" 3>"$state/display" >"$state/xserver.log" 2>&1 &
  else
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$state/display" \
      >"$state/xserver.log" 2>&1 &
  fi
  echo $! >"$state/xserver.pid"
  for _ in $(seq 1 100); do
    if [ -s "$state/display" ]; then
      head -n 1 "$state/display"
      return 0
    fi
    kill -0 "$(cat "$state/xserver.pid")" 2>/dev/null || break
    sleep 0.1
  done
  kill "$(cat "$state/xserver.pid")" 2>/dev/null || true
  return 1
}

# The dummy driver's outputs take any of these modes (xrandr --addmode).
dummy_config() {
  cat <<'CONF'
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoAddGPU" "false"
  Option "DontVTSwitch" "true"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 65536
  Option "Monitor-DUMMY0" "primary"
EndSection
Section "Monitor"
  Identifier "primary"
  HorizSync 5-200
  VertRefresh 5-200
  Modeline "1024x768" 65.00 1024 1048 1184 1344 768 771 777 806 -hsync -vsync
  Modeline "800x600" 40.00 800 840 968 1056 600 601 605 628 +hsync +vsync
  Option "PreferredMode" "1024x768"
  Option "Primary" "true"
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "primary"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual 3072 2048
  EndSubSection
EndSection
CONF
}

# The prefix's settings, in one import: "宋体" (SimSun), the face the dialogs
# and the caption ask for, stands in for a CJK font from Debian's packages;
# with DIDA_DPI, the display's DPI, which Wine reads at each program's start.
prefix_settings() {
  local reg="$state/settings.reg"
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
    printf '"宋体"="WenQuanYi Micro Hei"\r\n'
    printf '"SimSun"="WenQuanYi Micro Hei"\r\n'
    printf '"新宋体"="WenQuanYi Micro Hei"\r\n'
    printf '"NSimSun"="WenQuanYi Micro Hei"\r\n\r\n'
    if [ -n "${DIDA_DPI:-}" ]; then
      printf '[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n'
      printf '"LogPixels"=dword:%08x\r\n\r\n' "$DIDA_DPI"
    fi
  } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$reg"
  wine regedit /S "$(winepath -w "$reg")" </dev/null >>"$state/wineboot.log" 2>&1
}

# Runs a step of the set-up; when it fails, says which, with what status,
# and the last lines of its log: step NAME LOG COMMAND...
step() {
  local name=$1 log_file=$2 status=0
  shift 2
  "$@" || status=$?
  [ "$status" -ne 0 ] || return 0
  log "$name failed (exit $status)"
  [ ! -s "$log_file" ] || tail -n 12 "$log_file" | sed 's/^/[harness]   /'
  return "$status"
}

# A fresh prefix served by one persistent wineserver, initialised and set.
# A server left running for a removed prefix whose directory number the new
# one reuses would serve it with the old one's state (and `wineserver -p`
# would refuse to start): `wineserver -k` first ends any such server.
make_prefix() {
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  step "wineserver -p" "$state/wineserver.log" start_wineserver &&
    step "wineboot -i" "$state/wineboot.log" boot_prefix &&
    step "the prefix settings" "$state/wineboot.log" prefix_settings
}

# Daemons must not hold the caller's output open (CTest waits for it).
start_wineserver() { wineserver -p </dev/null >"$state/wineserver.log" 2>&1; }
boot_prefix() { timeout 170 wineboot -i </dev/null >"$state/wineboot.log" 2>&1; }

# Prints why DIDA_DPI cannot be used; nothing when it is unset or valid.
dpi_problem() {
  local dpi=${DIDA_DPI:-}
  [ -n "$dpi" ] || return 0
  if ! [[ $dpi =~ ^[1-9][0-9]{1,2}$ ]] || [ "$dpi" -lt 96 ] || [ "$dpi" -gt 480 ]; then
    echo "DIDA_DPI='$dpi': give a whole number from 96 (100 %) to 480 (500 %)"
  fi
}

# Starts the desktop-keeper ($1) and waits until it is on the desktop: from
# then on the desktop process is the keeper's or wineboot's, never one that
# holds a test's output open.
keep_desktop() {
  local ready="$state/keeper.ready"
  rm -f "$ready"
  wine "$1" "$(winepath -w "$ready")" </dev/null >/dev/null 2>&1 &
  local keeper=$!
  for _ in $(seq 1 600); do
    [ -f "$ready" ] && return 0
    kill -0 "$keeper" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# The flavour's own Wine commands, in STATE/bin.
wine_commands() {
  local loader=$1 server=$2
  mkdir -p "$state/bin"
  printf '#!/bin/sh\nexec %s "$@"\n' "$loader" >"$state/bin/wine"
  printf '#!/bin/sh\nexec %s winepath.exe "$@"\n' "$loader" >"$state/bin/winepath"
  printf '#!/bin/sh\nexec %s wineboot.exe "$@"\n' "$loader" >"$state/bin/wineboot"
  printf '#!/bin/sh\nexec %s "$@"\n' "$server" >"$state/bin/wineserver"
  chmod +x "$state/bin/"*
}

case "$action" in
  start)
    stop_harness
    bits=${3:-$("$here/wine-flavours.sh" --first)}
    why=$(wine_cannot_run "$bits")
    [ -z "$why" ] || { log "win$bits cannot run on this host: $why"; exit 1; }
    why=$(dpi_problem)
    [ -z "$why" ] || { log "$why"; exit 1; }
    display=${DIDA_DISPLAY:-}
    if [ -z "$display" ]; then
      n=$(start_xserver) || { log "the X server did not start (see $state/xserver.log)"; exit 1; }
      display=":$n"
    fi
    if [ -n "${DIDA_X_SETUP:-}" ]; then
      DISPLAY=$display sh -c "$DIDA_X_SETUP" >>"$state/xserver.log" 2>&1 ||
        { log "DIDA_X_SETUP failed on $display"; exit 1; }
    fi
    wine_commands "$(wine_loader "$bits")" "$(wine_server)"
    cat >"$state/env.sh" <<ENV
export WINEPREFIX="$state/prefix"
export WINEARCH=win$bits
export WINELOADER="$(wine_loader "$bits")"
export WINESERVER="$(wine_server)"
export PATH="$state/bin:\$PATH"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="
export LANG=zh_CN.UTF-8
export LC_ALL=zh_CN.UTF-8
export DISPLAY="$display"
ENV
    # shellcheck disable=SC1091
    . "$state/env.sh"
    log "win$bits ($WINELOADER), display $DISPLAY, ${DIDA_DPI:-96} DPI, prefix $WINEPREFIX"
    # One retry on a fresh prefix: a loaded host has been seen to fail the
    # first, and then the log says why.
    make_prefix || { log "trying once more on a fresh prefix"; make_prefix; } ||
      { log "no Wine prefix could be made"; exit 1; }
    if [ -n "${4:-}" ]; then
      keep_desktop "$4" || { log "the desktop keeper did not start"; exit 1; }
    fi
    log "ready"
    ;;
  stop)
    stop_harness
    log "stopped"
    ;;
  *)
    echo "$usage" >&2
    exit 2
    ;;
esac
