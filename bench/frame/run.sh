#!/usr/bin/env bash
# Runs frame_bench.exe under a Wine harness of its own, in the flavour this
# host prefers (DIDA_WINE_FLAVOURS=64 forces win64).
# usage: bench/frame/run.sh [ROUNDS]   (DIDA_BUILD_DIR as for scripts/build.sh)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${DIDA_BUILD_DIR:-$root/build}
bits=$("$root/scripts/wine-flavours.sh" --first)
exe="$build/win$bits/bin/frame_bench.exe"
[ -f "$exe" ] || { echo "missing $exe: build first (scripts/build.sh)" >&2; exit 1; }
state="$build/bench-frame/wine"
trap '"$root/scripts/harness.sh" stop "$state" >/dev/null' EXIT
"$root/scripts/harness.sh" start "$state" "$bits" >/dev/null
# shellcheck disable=SC1091
. "$state/env.sh"
timeout 600 wine "$exe" "${1:-2000}" </dev/null
