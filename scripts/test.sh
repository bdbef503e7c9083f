#!/usr/bin/env bash
# Installs what is missing, builds both flavours and runs every test: host
# tests, Win32 tests under Wine, end-to-end runs of dida.exe on Xvfb and the
# bounded fuzz runs, all in one CTest run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${DIDA_BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
cd "$build/host"
exec ctest --output-on-failure -j "${DIDA_JOBS:-$(nproc)}" "$@"
