#!/usr/bin/env bash
# Installs what is missing, builds, and starts the launcher under Wine.
# With a DISPLAY it runs there until you exit it. Without one it starts its
# own Xvfb, shows the launcher there, saves a screenshot in the build folder
# and closes the launcher with its Exit command. It runs the 32-bit program
# where this host can run it, else the 64-bit one (DIDA_WINE_FLAVOURS=64
# forces that).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${DIDA_BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"
"$root/scripts/build.sh"

bits=$("$root/scripts/wine-flavours.sh" --first)
bin="$build/win$bits/bin"
state="$build/run-wine"
trap '"$root/scripts/harness.sh" stop "$state" >/dev/null' EXIT

if [ -n "${DISPLAY:-}" ]; then
  DIDA_DISPLAY="$DISPLAY" "$root/scripts/harness.sh" start "$state" "$bits"
  # shellcheck disable=SC1091
  . "$state/env.sh"
  echo "[run] dida.exe on $DISPLAY (settings in $bin/dida.ini)"
  wine "$bin/dida.exe"
  exit 0
fi

"$root/scripts/harness.sh" start "$state" "$bits"
# shellcheck disable=SC1091
. "$state/env.sh"
wine "$bin/dida.exe" </dev/null >/dev/null 2>&1 &
launcher=$!
for _ in $(seq 1 200); do
  wine "$bin/dida-remote.exe" rect >/dev/null 2>&1 && break
  sleep 0.1
done
sleep 1  # let the first frame reach the screen
import -display "$DISPLAY" -window root "$build/screenshot.png"
echo "[run] screenshot: $build/screenshot.png"
wine "$bin/dida-remote.exe" command 57665  # Exit, as in the menu
wait "$launcher"
echo "[run] closed; settings in $bin/dida.ini"
