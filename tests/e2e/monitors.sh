#!/usr/bin/env bash
# The real program on two monitors: Xorg's dummy driver with a 1024 x 768
# primary and an 800 x 600 monitor left of it (at x = -800 on the desktop),
# in a harness of this test's own. A launcher left on the left monitor stays
# there, opens its panel within it, and comes back onto the primary when
# that monitor is switched off; what it saves is where it shows.
# usage: monitors.sh KEEPER
here=$(cd "$(dirname "$0")" && pwd)
keeper=${1:?usage: monitors.sh KEEPER}
: "${DIDA_WINE_STATE:?}" "${DIDA_BUILD:?}"
bits=$(sed -n 's/^export WINEARCH=win//p' "$DIDA_WINE_STATE/env.sh")
state="$DIDA_BUILD/e2e/monitors-harness"
if [ "$(id -u)" -ne 0 ]; then
  echo "FAIL: Xorg's dummy driver needs root to start (run as root)" >&2
  exit 1
fi
# The left monitor is there before Wine starts; a plain xrandr makes Wine
# see it.
left_on="xrandr --addmode DUMMY1 800x600 && xrandr --output DUMMY1 --mode 800x600 --left-of DUMMY0 && xrandr"
DIDA_X_SERVER=xorg-dummy DIDA_X_SETUP=$left_on "$here/../../scripts/harness.sh" start "$state" "$bits" "$keeper" ||
  { echo "FAIL: the two-monitor harness did not start" >&2; exit 1; }
DIDA_WINE_STATE=$state
# shellcheck source=lib.sh
. "$here/lib.sh"
finish() {
  cleanup_launcher
  "$here/../../scripts/harness.sh" stop "$state" >/dev/null
}
trap finish EXIT

# Windows puts the primary's corner at (0, 0); X counts from the left
# monitor's. Screen points are given to xdotool shifted by this.
x_offset() { xrandr | sed -n 's/^DUMMY0 connected primary [0-9]*x[0-9]*+\([0-9]*\)+.*/\1/p'; }
monitors_are() { [ "$(remote monitors | tr -d '\r')" = "$1" ]; }
wait_for_monitors() {
  poll monitors_are "$1" || fail "monitors: expected [$1], got [$(remote monitors | tr -d '\r')]"
}

two=$'0 0 1024 768 primary\n-800 0 0 600'
wait_for_monitors "$two"

# Placed on the left monitor, it stays there; its panel opens to the left,
# where that monitor has room (not to the right, across onto the primary).
dir=$(e2e_folder monitors)
decode_art "$dir"
write_ini "$dir" "[param]" "Char=2" "PosX=-150" "PosY=100"
start_launcher "$dir"
wait_for_rect "-150 100 -48 232"
read -r bx by < <(body_point "$dir" 2)
dx=$(x_offset)
click_at $((dx - 150 + bx)) $((100 + by))
wait_for_rect "-324 100 -48 232"
click_at $((dx - 150 + bx)) $((100 + by))
wait_for_rect "-150 100 -48 232"
exit_launcher
grep -qx "PosX=-150" <(ini_text "$dir") || fail "PosX not saved as -150 on the left monitor"
grep -qx "PosY=100" <(ini_text "$dir") || fail "PosY not saved as 100"

# Dragged by its panel until the character is past the primary's right edge,
# where no monitor is: it is pulled back inside the primary, panel and all.
write_ini "$dir" "[param]" "Char=2" "PosX=600" "PosY=300"
start_launcher "$dir"
wait_for_rect "600 300 702 432"
click_at $((dx + 600 + bx)) $((300 + by))
wait_for_rect "426 300 702 432"
drag $((dx + 431)) 400 500 0 "926 300 1202 432"
wait_for_rect "748 300 1024 432"
exit_launcher
grep -qx "PosX=922" <(ini_text "$dir") || fail "PosX not saved as 922 after the pull-back"

# On the left monitor with the panel open; then that monitor goes off. The whole window
# comes onto the primary, panel still open on the left, and the character's
# place on the screen is what is saved.
write_ini "$dir" "[param]" "Char=2" "PosX=-150" "PosY=100"
start_launcher "$dir"
wait_for_rect "-150 100 -48 232"
click_at $((dx - 150 + bx)) $((100 + by))
wait_for_rect "-324 100 -48 232"
xrandr --output DUMMY1 --off || fail "switching the left monitor off"
wait_for_monitors "0 0 1024 768 primary"
remote displaychange || fail "broadcasting the display change"
wait_for_rect "0 100 276 232"
exit_launcher
grep -qx "PosX=174" <(ini_text "$dir") || fail "PosX not saved as 174, where the character shows"
grep -qx "PosY=100" <(ini_text "$dir") || fail "PosY not saved as 100 after the change"
echo "PASS: monitors"
