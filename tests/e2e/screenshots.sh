#!/usr/bin/env bash
# Pictures of the real window for the README, each cropped to the window and
# transparent outside its outline: compact.png, panel-left.png,
# panel-right.png and hover.png (the pointer over a slot, its comment in the
# caption box). Each is checked against the artwork before it is saved, so
# the pictures stay true to the program. Given a DPI (and the desktop
# keeper), in a harness of its own at that DPI: compact@P.png and
# panel-right@P.png, P the scale in percent, checked against the artwork
# the program draws with there.
# usage: screenshots.sh OUT_DIR [DPI KEEPER]
here=$(cd "$(dirname "$0")" && pwd)
usage="usage: screenshots.sh OUT_DIR [DPI KEEPER]"
# shellcheck source=lib.sh
. "$here/lib.sh"
trap 'cleanup_launcher; stop_own_harness' EXIT

out=${1:?$usage}
dpi=${2:-}
mkdir -p "$out"
out=$(cd "$out" && pwd)

# A page with a few programs that every Wine prefix has.
pages=("[param]" "Char=0" "Page1=常用"
  'Exec1-1=C:\windows\notepad.exe' "Comment1-1=记事本" 'Icon1-1=C:\windows\notepad.exe'
  'Exec1-2=C:\windows\regedit.exe' "Comment1-2=注册表编辑器" 'Icon1-2=C:\windows\regedit.exe'
  'Exec1-3=C:\windows\explorer.exe' "Comment1-3=资源管理器" 'Icon1-3=C:\windows\explorer.exe'
  'Exec1-4=C:\windows\system32\winemine.exe' "Comment1-4=扫雷"
  'Icon1-4=C:\windows\system32\winemine.exe')

# ---- at a display scale --------------------------------------------------------
# The lengths are geometry_at's (scaled_*); the pictures decode_scaled_art's.

# The compact window of page K, buttons in their normal rows: OUT.
scaled_compact_picture() {
  local a="$1/art" w=$scaled_character_width s=$scaled_button_split h=$scaled_button_height
  convert \( "$a/char.png" -crop "${w}x${scaled_frame_height}+$((w * $2))+0" +repage \) \
    \( \( "$a/buttons.png" -crop "${s}x${h}+0+0" +repage \) \
    \( "$a/buttons.png" -crop "$((w - s))x${h}+${s}+0" +repage \) +append \) -append "$3"
}

# The expanded window of page K with the panel on the right, and the
# outline where it is compared: without the caption box and the slot grid,
# where the page's texts and icons are drawn. PICTURE OUTLINE MASK
scaled_panel_pictures() {
  local a="$1/art" w=$scaled_character_width size="${scaled_expanded_width}x${scaled_window_height}"
  local cl ct cr cb gl gt gr gb
  read -r cl ct cr cb <<<"$scaled_caption_box"
  read -r gl gt _ _ <<<"${scaled_wells[0]}"
  read -r _ _ gr gb <<<"${scaled_wells[7]}"
  scaled_compact_picture "$1" "$2" "$1/compact-part.png"
  convert -size "$size" xc:black "$a/panel.png" -geometry "+$w+0" -composite \
    "$1/compact-part.png" -geometry +0+0 -composite "$3"
  convert -size "$size" xc:black "$a/mask1.png" -composite \
    "$a/mask2.png" -geometry "+$w+0" -composite "$4"
  convert "$4" -fill black -draw "rectangle $((w + cl)),$ct $((w + cr - 1)),$((cb - 1))" \
    -draw "rectangle $((w + gl)),$gt $((w + gr - 1)),$((gb - 1))" "$5"
}

# Saves the screenshot SHOT as OUT.png in out, transparent outside OUTLINE.
save_shaped() {
  convert "$1" "$2" -alpha off -compose CopyOpacity -composite -strip "$out/$3.png"
}

# The compact window and the panel on the right, from a window near the
# screen's left edge, at DPI.
shots_at_scale() {
  local dir p w h e x=60 y=200 bx by
  harness_at "screenshots$1" "$1" "$2"
  geometry_at "$1"
  p=$scaled_percent w=$scaled_character_width h=$scaled_window_height e=$scaled_expanded_width
  dir=$(e2e_folder "screenshots$1")
  decode_scaled_art "$dir"
  write_ini "$dir" "${pages[@]}" "PosX=$x" "PosY=$y"
  park_pointer
  start_launcher "$dir"
  wait_for_rect "$x $y $((x + w)) $((y + h))"
  scaled_compact_picture "$dir" 0 "$dir/expected.png"
  wait_for_screen "$x" "$y" "$w" "$h" "$dir/expected.png" "$dir/art/mask1.png" \
    "$dir/screen.png" "compact window at $p %"
  save_shaped "$dir/screen.png" "$dir/art/mask1.png" "compact@$p"

  read -r bx by < <(scaled_body_point "$dir" 0)
  click_at $((x + bx)) $((y + by))
  park_pointer
  wait_for_rect "$x $y $((x + e)) $((y + h))"
  scaled_panel_pictures "$dir" 0 "$dir/expected.png" "$dir/outline.png" "$dir/mask.png"
  wait_for_screen "$x" "$y" "$e" "$h" "$dir/expected.png" "$dir/mask.png" "$dir/screen.png" \
    "panel on the right at $p %"
  save_shaped "$dir/screen.png" "$dir/outline.png" "panel-right@$p"
  exit_launcher
}

if [ -n "$dpi" ]; then
  shots_at_scale "$dpi" "${3:?$usage}"
  ls "$out"
  exit 0
fi

# ---- at 100 % -----------------------------------------------------------------
dir=$(e2e_folder screenshots)
decode_art "$dir"
a="$dir/art"

# The outline of a layout as a grey picture (white inside): 0, 1 or 2.
outline() {
  case $1 in
    0) cp "$a/mask1.png" "$2" ;;
    1) convert -size 276x132 xc:black "$a/mask2.png" -composite \
      "$a/mask1.png" -geometry +174+0 -composite "$2" ;;
    2) convert -size 276x132 xc:black "$a/mask1.png" -composite \
      "$a/mask2.png" -geometry +102+0 -composite "$2" ;;
  esac
}

# Saves the checked screenshot of the window in LAYOUT as NAME.png in out.
save() {
  outline "$1" "$dir/outline.png"
  convert "$dir/screen.png" "$dir/outline.png" -alpha off -compose CopyOpacity -composite \
    -strip "$out/$2.png"
}

# Waits until the expanded window at X,Y with the panel on SIDE shows the
# artwork everywhere but the caption box and the slot grid, eyes open.
wait_for_panel() {
  local q=0
  [ "$3" = 1 ] || q=102
  expanded_picture "$dir" 0 "$3" "$dir/expected.png"
  outline "$3" "$dir/mask.png"
  convert "$dir/mask.png" -fill black -draw "rectangle $((q + 26)),15 $((q + 145)),46" \
    -draw "rectangle $((q + 13)),50 $((q + 157)),120" "$dir/mask.png"
  wait_for_screen "$1" "$2" 276 132 "$dir/expected.png" "$dir/mask.png" "$dir/screen.png" \
    "$4"
}

# The compact window, then the panel on the left, then a slot hovered.
x=400 y=200
write_ini "$dir" "${pages[@]}" "PosX=$x" "PosY=$y"
start_compact "$dir" "$x" "$y"
compact_picture "$dir" 0 0 0 "$dir/expected.png"
wait_for_screen "$x" "$y" 102 132 "$dir/expected.png" "$a/mask1.png" "$dir/screen.png" \
  "compact window"
save 0 compact

read -r bx by < <(body_point "$dir" 0)
click_at $((x + bx)) $((y + by))
park_pointer
wait_for_rect "$((x - panel_width)) $y $((x + char_width)) $((y + window_height))"
wait_for_panel $((x - panel_width)) "$y" 1 "panel on the left"
save 1 panel-left

# Over slot 1 the caption box changes from the page name to the comment.
shoot $((x - panel_width + 26)) $((y + 15)) 120 32 "$dir/caption-page.png"
xdotool mousemove $((x - panel_width + 30)) $((y + 67))
poll screen_differs $((x - panel_width + 26)) $((y + 15)) 120 32 "$dir/caption-page.png" 0 \
  "$dir/caption.png" || fail "the caption did not change over slot 1"
wait_for_panel $((x - panel_width)) "$y" 1 "hovered slot, eyes open"
save 1 hover
park_pointer
exit_launcher

# The panel on the right, from a window near the screen's left edge.
x=60
write_ini "$dir" "${pages[@]}" "PosX=$x" "PosY=$y"
start_compact "$dir" "$x" "$y"
click_at $((x + bx)) $((y + by))
park_pointer
wait_for_rect "$x $y $((x + 276)) $((y + window_height))"
wait_for_panel "$x" "$y" 2 "panel on the right"
save 2 panel-right
exit_launcher
ls "$out"
