#!/usr/bin/env bash
# The real program at a display scale, in a harness of this test's own whose
# display has DPI: the window at its scaled sizes and held on the screen with
# them, a click on the scaled character's body opening the panel, a click on
# a scaled slot starting its target, and the position saved at Exit in
# screen pixels. Points come from the launcher's own geometry at that scale.
# usage: scale.sh DPI KEEPER PROBE
here=$(cd "$(dirname "$0")" && pwd)
usage="usage: scale.sh DPI KEEPER PROBE"
dpi=${1:?$usage}
keeper=${2:?$usage}
probe=${3:?$usage}
# shellcheck source=lib.sh
. "$here/lib.sh"
trap 'cleanup_launcher; stop_own_harness' EXIT

# The window's sizes at each DPI: compact width and height, expanded width.
case $dpi in
  96) sizes="102 132 276" ;;
  144) sizes="153 198 414" ;;
  192) sizes="204 264 552" ;;
  288) sizes="306 396 828" ;;
  *) fail "no window sizes known for $dpi DPI" ;;
esac
read -r width height expanded <<<"$sizes"

# Whether Windows and X both have the window at RECT (each asked, so that a
# failure can say what both had).
window_at() {
  local windows=0
  rect_is "$1" || windows=1
  x_rect_is "$1" && [ "$windows" = 0 ]
}

# Waits until the window is at RECT, else fails naming WHAT and leaving the
# screen in DIR/WHAT.png. wait_for_window_at RECT DIR WHAT
wait_for_window_at() {
  local got="" got_x=""
  if ! poll window_at "$1"; then
    import -window root "$2/$3.png" 2>/dev/null || true
    fail "$3: expected [$1]; Windows has [$got], X [$got_x] (screen in $2/$3.png)"
  fi
}

harness_at "scale$dpi" "$dpi" "$keeper"
geometry_at "$dpi"
dir=$(e2e_folder "scale$dpi")
decode_scaled_art "$dir"
cp "$probe" "$dir/probe.exe"
export DIDA_LAUNCH_MARKER
DIDA_LAUNCH_MARKER=$(winepath -w "$dir/launched")
# Below the screen's bottom edge the window is held on it, at its own height;
# 600 leaves the panel room on the left at every scale.
left=600 top=$((768 - height))
write_ini "$dir" "[param]" "Char=0" "PosX=$left" "PosY=700" \
  "Exec1-7=$(winepath -w "$dir/probe.exe")" "Comment1-7=probe"
park_pointer
start_launcher "$dir"
wait_for_window_at "$left $top $((left + width)) 768" "$dir" "compact-window"

read -r bx by < <(scaled_body_point "$dir" 0)
click_at $((left + bx)) $((top + by))
park_pointer
wleft=$((left - (expanded - width)))
wait_for_window_at "$wleft $top $((left + width)) 768" "$dir" \
  "panel-after-click-at-$((left + bx))-$((top + by))"

# Slot 7: the third of the second row, so the grid's pitch counts both ways.
read -r l t r b <<<"${scaled_wells[6]}"
sx=$((wleft + (l + r) / 2)) sy=$((top + (t + b) / 2))
click_at "$sx" "$sy"
park_pointer
launched() { [ -f "$dir/launched" ]; }
if ! poll launched; then
  import -window root "$dir/slot-click.png" 2>/dev/null || true
  fail "the click at $sx,$sy on slot 7 (well ${scaled_wells[6]}) started nothing (screen in $dir/slot-click.png)"
fi

# Saved with the panel open: where the character is, not the window's left.
exit_launcher
grep -qx "PosX=$left" <(ini_text "$dir") ||
  fail "PosX after Exit: expected $left, got [$(ini_text "$dir" | grep PosX || true)]"
grep -qx "PosY=$top" <(ini_text "$dir") ||
  fail "PosY after Exit: expected $top, got [$(ini_text "$dir" | grep PosY || true)]"
echo "PASS: scale at $dpi DPI ($scaled_percent %)"
