#!/usr/bin/env bash
# Start-up to first paint: dida.exe against a bare Win32 window, each started
# N times (default 20) by startup_bench.exe under a Wine harness of its own,
# in the flavour this host prefers (DIDA_WINE_FLAVOURS=64 forces win64).
# usage: bench/startup/run.sh [N]   (DIDA_BUILD_DIR as for scripts/build.sh)
#        bench/startup/run.sh --filled [N]
#        bench/startup/run.sh --skin [N]
#        bench/startup/run.sh --check [N]
# --filled starts the launcher with all 48 slots filled (their icons are
# taken only once the window is up), instead of a fresh settings file.
# --skin starts it with the host build's skin template as its skin folder:
# six pages with their blink pictures, the panel and the buttons, every one
# read and blended before the window shows.
# --check measures the bare window against itself painting 300 ms after it
# is shown: the second must come out about 300 ms later, which shows that the
# benchmark waits for the paint and not just for the window.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${DIDA_BUILD_DIR:-$root/build}
check=""
filled=""
skin=""
case "${1:-}" in
  --check) check=1 && shift ;;
  --filled) filled=1 && shift ;;
  --skin) skin=$build/host/art/skin-template && shift ;;
esac
runs=${1:-20}
bits=$("$root/scripts/wine-flavours.sh" --first)
bin="$build/win$bits/bin"
for exe in dida.exe startup_bare.exe startup_bench.exe; do
  [ -f "$bin/$exe" ] || { echo "missing $bin/$exe: build first (scripts/build.sh)" >&2; exit 1; }
done

# Both programs start from a folder of their own, so the launcher's settings
# file is fresh and nothing else of the build is in the way.
work="$build/bench-startup"
rm -rf "$work"
mkdir -p "$work/dida" "$work/bare"
cp "$bin/dida.exe" "$work/dida/"
cp "$bin/startup_bare.exe" "$work/bare/"
if [ -n "$filled" ]; then
  "$root/bench/filled-settings.sh" >"$work/dida/dida.ini"
fi
if [ -n "$skin" ]; then
  [ -f "$skin/page1.png" ] || { echo "missing $skin: build the host flavour first" >&2; exit 1; }
  cp -r "$skin" "$work/dida/skin"
fi

state="$work/wine"
trap '"$root/scripts/harness.sh" stop "$state" >/dev/null' EXIT
"$root/scripts/harness.sh" start "$state" "$bits"
# shellcheck disable=SC1091
. "$state/env.sh"
echo "[bench] win$bits, ${filled:+48 filled slots, }${skin:+the skin template, }$runs runs each, alternating; $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
bare=$(winepath -w "$work/bare/startup_bare.exe")
if [ -n "$check" ]; then
  timeout 1200 wine "$bin/startup_bench.exe" "$runs" "$bare" dida-bare "$bare" dida-bare 300 \
    </dev/null
else
  timeout 1200 wine "$bin/startup_bench.exe" "$runs" "$(winepath -w "$work/dida/dida.exe")" dida \
    "$bare" dida-bare </dev/null
fi
