#!/usr/bin/env bash
# Installs what is missing, builds every flavour and runs every test: host
# tests, Win32 tests and end-to-end runs of dida.exe on Xvfb under Wine for
# each Windows flavour this host can run, and the bounded fuzz runs, all in
# one CTest run. DIDA_WINE_FLAVOURS (32, 64 or "32 64") forces the flavours.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${DIDA_BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"

# Decided once, by trying each Wine, and said first; fails with one line
# when this host can run no Windows flavour at all.
DIDA_WINE_RUN=$("$root/scripts/wine-flavours.sh")
export DIDA_WINE_RUN

"$root/scripts/build.sh"
cd "$build/host"
# A flavour that is built but not run shows in CTest's summary among the
# tests that did not run. A red run ends with where each failed test failed.
status=0
ctest --output-on-failure -j "${DIDA_JOBS:-$(nproc)}" "$@" || status=$?
[ "$status" -eq 0 ] || "$root/scripts/failures.sh" "$build/host"
exit "$status"
