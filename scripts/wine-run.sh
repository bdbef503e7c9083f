#!/usr/bin/env bash
# Runs a Win32 program under the harness's Wine (CMake's cross-compiling
# emulator). DIDA_WINE_STATE names the harness state folder.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
state=${DIDA_WINE_STATE:-$here/../build/win32/wine}
if [ ! -f "$state/env.sh" ]; then
  echo "wine-run: no harness at $state (run scripts/harness.sh start $state)" >&2
  exit 2
fi
# shellcheck disable=SC1091
. "$state/env.sh"
exec timeout --kill-after=5 "${DIDA_WINE_TIMEOUT:-110}" wine "$@"
