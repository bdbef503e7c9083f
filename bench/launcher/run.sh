#!/usr/bin/env bash
# The panel's first opening and a page turn, click to new frame, in dida.exe
# with all 48 slots filled against dida.exe with a fresh settings file (empty
# slots), each started N times (default 20) by panel_bench.exe under a Wine
# harness of its own, in the flavour this host prefers (DIDA_WINE_FLAVOURS=64
# forces win64). WAIT_MS (default 0) is how long each run leaves the window
# alone before each click: after its first paint, and after the opening.
# usage: bench/launcher/run.sh [N [WAIT_MS]]   (DIDA_BUILD_DIR as for scripts/build.sh)
# The host's pointer benchmark is build/host/bin/launcher_bench.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${DIDA_BUILD_DIR:-$root/build}
runs=${1:-20}
wait_ms=${2:-0}
bits=$("$root/scripts/wine-flavours.sh" --first)
bin="$build/win$bits/bin"
for exe in dida.exe panel_bench.exe; do
  [ -f "$bin/$exe" ] || { echo "missing $bin/$exe: build first (scripts/build.sh)" >&2; exit 1; }
done

work="$build/bench-panel"
rm -rf "$work"
mkdir -p "$work/full" "$work/empty"
cp "$bin/dida.exe" "$work/full/"
cp "$bin/dida.exe" "$work/empty/"
"$root/bench/filled-settings.sh" >"$work/full/dida.ini"

state="$work/wine"
trap '"$root/scripts/harness.sh" stop "$state" >/dev/null' EXIT
"$root/scripts/harness.sh" start "$state" "$bits"
# shellcheck disable=SC1091
. "$state/env.sh"
echo "[bench] win$bits, $runs runs each, alternating, ${wait_ms} ms before each click; $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
timeout 1200 wine "$bin/panel_bench.exe" "$runs" "$(winepath -w "$work/full/dida.exe")" \
  "$(winepath -w "$work/empty/dida.exe")" "$wait_ms" </dev/null
