#!/usr/bin/env bash
# The right-button menu of the real program, used with the mouse and the
# keyboard: Settings renames the page, Exit saves, and the next start shows
# the new name in the panel's caption box. Screenshots of the menu and the
# settings dialog go to $DIDA_BUILD/screenshots.
# usage: menu.sh
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
. "$here/lib.sh"
trap cleanup_launcher EXIT

shots="$DIDA_BUILD/screenshots"
mkdir -p "$shots"
x=400 y=200

# Waits (up to 10 s) for a visible window named NAME; prints its id.
wait_for_named() {
  local id
  for _ in $(seq 1 50); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.2
  done
  fail "no window named $1 appeared"
}

# Opens the menu with a right click on the character and waits until the
# screen below and right of the pointer changes (the menu is drawn there).
open_menu() {
  local mx=$1 my=$2 n=""
  shoot "$mx" "$my" 60 60 "$dir/before-menu.png"
  xdotool mousemove "$mx" "$my" click 3
  for _ in $(seq 1 40); do
    sleep 0.25
    shoot "$mx" "$my" 60 60 "$dir/after-menu.png"
    n=$(pixels_differ "$dir/before-menu.png" "$dir/after-menu.png")
    [ "$n" -gt 500 ] && return 0
  done
  fail "the popup menu did not appear ($n pixels changed)"
}

dir=$(e2e_folder menu)
decode_art "$dir"
write_ini "$dir" "[param]" "Char=0" "PosX=$x" "PosY=$y"
start_compact "$dir" "$x" "$y"
read -r bx by <<<"$(body_point "$dir" 0)"

# The menu over the character: Settings, About, Exit.
open_menu $((x + bx)) $((y + by))
shoot $((x + bx)) $((y + by)) 160 90 "$shots/menu.png"
xdotool key Down Return
settings=$(wait_for_named "设置")
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$settings")"
shoot "$X" "$Y" "$WIDTH" "$HEIGHT" "$shots/settings.png"
# The first tab stop is OK, then Cancel, then the name box (entered with its
# text selected): type the new name over it and confirm with Enter.
xdotool key --window "$settings" Tab Tab
xdotool type --delay 50 "Tools"
xdotool key Return
for _ in $(seq 1 50); do
  xdotool search --onlyvisible --name '^设置$' >/dev/null 2>&1 || break
  sleep 0.2
done

# Exit from the menu: Up picks the last item.
park_pointer
open_menu $((x + bx)) $((y + by))
xdotool key Up Return
wait_for_exit "$launcher_pid"
ini_text "$dir" | grep -qx "Page1=Tools" ||
  fail "the new page name was not saved: $(ini_text "$dir")"
ini_text "$dir" | grep -qx "PosX=$x" || fail "PosX not saved"
ini_text "$dir" | grep -qx "PosY=$y" || fail "PosY not saved"

# The next start shows the name in the caption box of the opened panel.
start_compact "$dir" "$x" "$y"
click_at $((x + bx)) $((y + by))
wait_for_rect "$((x - panel_width)) $y $((x + char_width)) $((y + window_height))"
sleep 0.5
shoot $((x - panel_width)) "$y" $((panel_width + char_width)) "$window_height" \
  "$shots/menu-renamed.png"
crop "$shots/menu-renamed.png" 120 32 26 15 "$dir/caption.png"
crop "$dir/art/panel.png" 120 32 20 15 "$dir/blank-caption.png"
n=$(pixels_differ "$dir/caption.png" "$dir/blank-caption.png")
[ "$n" -gt 20 ] || fail "the caption box shows no name ($n pixels differ from blank)"
exit_launcher
echo "PASS: menu"
