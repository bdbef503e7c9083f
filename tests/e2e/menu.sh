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

# Whether a window named NAME is mapped (its id in $id).
named_shown() {
  id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
  [ -n "$id" ]
}
named_gone() { ! xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }

# Waits for a visible window named NAME; prints its id.
wait_for_named() {
  local id=""
  poll named_shown "$1" || fail "no window named $1 appeared"
  echo "$id"
}

# Whether the window WIN has painted itself: two screenshots in a row are the
# same, and mostly light (a dialog's face; an unpainted window is black).
painted() {
  local prev="$2.prev"
  [ -f "$2" ] && mv "$2" "$prev"
  eval "$(xdotool getwindowgeometry --shell "$1")"
  shoot "$X" "$Y" "$WIDTH" "$HEIGHT" "$2"
  [ -f "$prev" ] && [ "$(pixels_differ "$2" "$prev")" = 0 ] &&
    [ "$(convert "$2" -colorspace gray -format '%[fx:int(mean*100)]' info:)" -gt 50 ]
}

# Opens the menu with a right click on the character and waits until the
# screen below and right of the pointer changes (the menu is drawn there).
open_menu() {
  local mx=$1 my=$2 n=""
  shoot "$mx" "$my" 60 60 "$dir/before-menu.png"
  xdotool mousemove "$mx" "$my" click 3
  poll screen_differs "$mx" "$my" 60 60 "$dir/before-menu.png" 500 "$dir/after-menu.png" ||
    fail "the popup menu did not appear ($n pixels changed)"
}

# Whether the caption box of the panel open to the left shows a name.
caption_shows_name() {
  shoot $((x - panel_width)) "$y" $((panel_width + char_width)) "$window_height" \
    "$shots/menu-renamed.png"
  crop "$shots/menu-renamed.png" 120 32 26 15 "$dir/caption.png"
  n=$(pixels_differ "$dir/caption.png" "$dir/blank-caption.png")
  [ "$n" -gt 20 ]
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
rm -f "$shots/settings.png"
poll painted "$settings" "$shots/settings.png" || fail "the settings dialog did not paint"
# The first tab stop is OK, then Cancel, then the name box (entered with its
# text selected): type the new name over it and confirm with Enter.
xdotool key --window "$settings" Tab Tab
xdotool type --delay 50 "Tools"
xdotool key Return
# Without a window manager the closed dialog stays mapped for a while, over
# the launcher: a click there would reach it.
poll named_gone "设置" || fail "the settings dialog did not go"

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
crop "$dir/art/panel.png" 120 32 20 15 "$dir/blank-caption.png"
n=""
poll caption_shows_name || fail "the caption box shows no name ($n pixels differ from blank)"
exit_launcher
echo "PASS: menu"
