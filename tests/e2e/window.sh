#!/usr/bin/env bash
# The launcher window as a person sees and uses it: the character of the
# current page, the panel opening to the side with room, paging, hovering a
# slot, dragging, the position lock and the blink. What the screen shows is
# compared pixel by pixel with the decoded artwork.
# usage: window.sh CASE
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
. "$here/lib.sh"
trap cleanup_launcher EXIT

# ---- cases -------------------------------------------------------------------------

case_compact_window_shows_page_character() {
  local dir k x y
  for k in 0 1 2 3 4 5; do
    dir=$(e2e_folder "compact$k")
    decode_art "$dir"
    x=$((40 + 150 * k)) y=$((60 + 30 * k))
    write_ini "$dir" "[param]" "Char=$k" "PosX=$x" "PosY=$y"
    start_compact "$dir" "$x" "$y"
    compact_picture "$dir" "$k" 0 0 "$dir/expected.png"
    compact_mask "$dir" "$k" "$dir/mask.png"
    wait_for_screen "$x" "$y" 102 132 "$dir/expected.png" "$dir/mask.png" "$dir/screen.png" \
      "compact window of page $k"
    exit_launcher
    grep -qx "Char=$k" <(ini_text "$dir") || fail "Char=$k not written back"
  done
}

# Panel sides: the compact window's left edge, the side, the expanded
# window's rectangle.
panel_cases=("173 2 173 449" "174 1 0 276" "600 1 426 702")

case_panel_opens_to_side_with_room() {
  local dir entry left side wleft wright k=1 top=300 bx by
  for entry in "${panel_cases[@]}"; do
    read -r left side wleft wright <<<"$entry"
    dir=$(e2e_folder "panel$left")
    decode_art "$dir"
    write_ini "$dir" "[param]" "Char=$k" "PosX=$left" "PosY=$top"
    start_compact "$dir" "$left" "$top"
    read -r bx by < <(body_point "$dir" "$k")

    click_at $((left + bx)) $((top + by))
    park_pointer
    wait_for_rect "$wleft $top $wright $((top + window_height))"
    expanded_picture "$dir" "$k" "$side" "$dir/expected.png"
    expanded_mask "$dir" "$k" "$side" "$dir/mask.png"
    wait_for_screen "$wleft" "$top" 276 132 "$dir/expected.png" "$dir/mask.png" \
      "$dir/expanded.png" "panel opened from x=$left"

    # The character has not moved, so the same point closes the panel again.
    click_at $((left + bx)) $((top + by))
    park_pointer
    wait_for_rect "$left $top $((left + char_width)) $((top + window_height))"
    compact_picture "$dir" "$k" 0 0 "$dir/expected-compact.png"
    compact_mask "$dir" "$k" "$dir/mask-compact.png"
    wait_for_screen "$left" "$top" 102 132 "$dir/expected-compact.png" "$dir/mask-compact.png" \
      "$dir/closed.png" "panel closed again from x=$left"
    exit_launcher
    grep -qx "PosX=$left" <(ini_text "$dir") || fail "PosX not kept as $left after the panel"
  done
}

case_page_buttons_turn_and_wrap() {
  local dir x=300 y=200 step button k prev next
  dir=$(e2e_folder pages)
  decode_art "$dir"
  write_ini "$dir" "[param]" "Char=4" "PosX=$x" "PosY=$y"
  start_compact "$dir" "$x" "$y"
  # Each step: the button pressed and the page then shown (wrapping both ways).
  for step in "next 5" "next 0" "previous 5" "previous 4" "previous 3" "next 4" "previous 3"; do
    read -r button k <<<"$step"
    if [ "$button" = next ]; then
      click_at $((x + 75)) $((y + 121))
      prev=0 next=19 # the pointer stays on the button: its hover row
    else
      click_at $((x + 25)) $((y + 121))
      prev=19 next=0
    fi
    compact_picture "$dir" "$k" "$prev" "$next" "$dir/expected.png"
    compact_mask "$dir" "$k" "$dir/mask.png"
    wait_for_screen "$x" "$y" 102 132 "$dir/expected.png" "$dir/mask.png" "$dir/screen.png" \
      "after $button, page $k"
  done
  park_pointer
  compact_picture "$dir" 3 0 0 "$dir/expected.png"
  wait_for_screen "$x" "$y" 102 132 "$dir/expected.png" "$dir/mask.png" "$dir/screen.png" \
    "hover highlight cleared after the pointer left"
  exit_launcher
  grep -qx "Char=3" <(ini_text "$dir") || fail "Char=3 not written back"
}

# Dark pixels (text) in a picture.
ink() { convert "$1" -colorspace gray -threshold 50% -negate -format '%[fx:int(mean*w*h+0.5)]' info:; }

# Whether W x H of the screen at X,Y shows text; the screenshot goes to SHOT.
# has_ink X Y W H SHOT
has_ink() {
  shoot "$1" "$2" "$3" "$4" "$5"
  [ "$(ink "$5")" -gt 20 ]
}

# Waits for text in W x H of the screen at X,Y; the screenshot stays in SHOT.
# wait_for_ink X Y W H SHOT WHAT
wait_for_ink() { poll has_ink "$@" || fail "$6: no text drawn (screen in $5)"; }

case_hover_slot_shows_comment() {
  local dir x=400 y=200 wleft bx by cap icon1 icon2 a
  dir=$(e2e_folder hover)
  decode_art "$dir"
  a="$dir/art"
  # Page 2 is named like slot 1's comment: the caption over the slot must
  # then look exactly like page 2's caption.
  write_ini "$dir" "[param]" "Char=0" "PosX=$x" "PosY=$y" "Page1=常用" "Page2=记事本" \
    'Exec1-1=C:\windows\notepad.exe' "Comment1-1=记事本" 'Icon1-1=C:\windows\notepad.exe'
  start_compact "$dir" "$x" "$y"
  read -r bx by < <(body_point "$dir" 0)
  click_at $((x + bx)) $((y + by))
  park_pointer
  wleft=$((x - panel_width))
  wait_for_rect "$wleft $y $((x + char_width)) $((y + window_height))"

  # The panel is on the left: caption box at (26, 15), slot k's icon at
  # (14 + 37 k, 51) for k < 4.
  cap=("$((wleft + 26))" "$((y + 15))" 120 32)
  crop "$a/panel.png" 32 32 14 51 "$dir/slot1-blank.png"
  crop "$a/panel.png" 32 32 51 51 "$dir/slot2-blank.png"
  wait_for_ink "${cap[@]}" "$dir/caption-page.png" "the page name in the caption box"
  shoot $((wleft + 14)) $((y + 51)) 32 32 "$dir/slot1.png"
  shoot $((wleft + 51)) $((y + 51)) 32 32 "$dir/slot2.png"
  icon1=$(pixels_differ "$dir/slot1.png" "$dir/slot1-blank.png")
  icon2=$(pixels_differ "$dir/slot2.png" "$dir/slot2-blank.png")
  [ "$icon1" -gt 50 ] || fail "no icon in used slot 1 ($icon1 pixels differ from the panel)"
  expect_eq "$icon2" 0 "pixels of empty slot 2 that differ from the panel"

  # Over slot 1 (its hole spans 13..46 x 50..83) the caption shows its comment.
  xdotool mousemove $((wleft + 30)) $((y + 67))
  local n=""
  poll screen_differs "${cap[@]}" "$dir/caption-page.png" 0 "$dir/caption-hover.png" ||
    fail "the caption did not change over slot 1"
  wait_for_ink "${cap[@]}" "$dir/caption-hover.png" "the comment in the caption box"
  shoot "$wleft" "$y" 276 132 "$dir/hovered-window.png"

  # Off the window the timer clears the hover: the page name comes back.
  park_pointer
  wait_for_screen "${cap[@]}" "$dir/caption-page.png" "" "$dir/caption-after.png" \
    "caption after the pointer left"

  # Page 2, named 记事本: the same text, so the same pixels as over slot 1.
  click_at $((x + 75)) $((y + 121))
  park_pointer
  wait_for_screen "${cap[@]}" "$dir/caption-hover.png" "" "$dir/caption-page2.png" \
    "page 2's caption against slot 1's comment"
  exit_launcher
  grep -qx "Comment1-1=记事本" <(ini_text "$dir") || fail "the comment did not survive in GBK"
  grep -qx 'Exec1-1=C:\\windows\\notepad.exe' <(ini_text "$dir") || fail "the slot's target was lost"
}

# Drags: the compact window's left edge, the side the panel opens to (0 stays
# compact), the press point in the window, the pointer's move, the
# character's position afterwards.
drag_cases=(
  "300 0 1 120 150 100 450 300"   # the button row's outer 3 pixels
  "300 0 100 125 -60 40 240 240"  # the button row's outer 3 pixels, right
  "300 0 50 130 20 -90 320 110"   # the button row's bottom 2 rows
  "100 2 110 100 200 -50 300 150" # the panel's body, panel right
  "500 1 5 100 -100 60 400 260"   # the panel's body, panel left
)

case_drag_moves_window() {
  local dir entry left side px py dx dy nx ny top=200 wleft width bx by
  for entry in "${drag_cases[@]}"; do
    read -r left side px py dx dy nx ny <<<"$entry"
    dir=$(e2e_folder "drag$left-$side-$px")
    decode_art "$dir"
    write_ini "$dir" "[param]" "Char=2" "PosX=$left" "PosY=$top"
    start_compact "$dir" "$left" "$top"
    wleft=$left width=$char_width
    if [ "$side" != 0 ]; then
      read -r bx by < <(body_point "$dir" 2)
      click_at $((left + bx)) $((top + by))
      width=276
      [ "$side" = 1 ] && wleft=$((left - panel_width))
      wait_for_rect "$wleft $top $((wleft + width)) $((top + window_height))"
    fi
    drag $((wleft + px)) $((top + py)) "$dx" "$dy" \
      "$((wleft + dx)) $((top + dy)) $((wleft + dx + width)) $((top + dy + window_height))"
    park_pointer
    wait_for_rect "$((wleft + dx)) $((top + dy)) $((wleft + dx + width)) $((top + dy + window_height))"
    exit_launcher
    grep -qx "PosX=$nx" <(ini_text "$dir") || fail "PosX after the drag: expected $nx"
    grep -qx "PosY=$ny" <(ini_text "$dir") || fail "PosY after the drag: expected $ny"
  done
}

case_fixed_position_is_not_dragged() {
  local dir x=300 y=200
  dir=$(e2e_folder fixed)
  decode_art "$dir"
  write_ini "$dir" "[param]" "Char=2" "PosX=$x" "PosY=$y" "FixedPos=1"
  start_compact "$dir" "$x" "$y"
  xdotool mousemove $((x + 1)) $((y + 120)) mousedown 1
  for i in 1 2 3 4 5; do
    xdotool mousemove $((x + 1 + 30 * i)) $((y + 120 + 20 * i))
    sleep 0.1
  done
  xdotool mouseup 1
  # Input arrives in order: once the page button's click shows page 3, the
  # drag before it has been handled.
  click_at $((x + 75)) $((y + 121))
  park_pointer
  compact_picture "$dir" 3 0 0 "$dir/expected.png"
  compact_mask "$dir" 3 "$dir/mask.png"
  wait_for_screen "$x" "$y" 102 132 "$dir/expected.png" "$dir/mask.png" "$dir/screen.png" \
    "page 3 at the locked position"
  expect_eq "$(window_rect)" "$x $y $((x + char_width)) $((y + window_height))" \
    "rectangle of the locked window"
  exit_launcher
  grep -qx "PosX=$x" <(ini_text "$dir") || fail "PosX of the locked window changed"
  grep -qx "FixedPos=1" <(ini_text "$dir") || fail "FixedPos not written back"
}

case_character_blinks() {
  local dir k=2 x=300 y=200 ox oy w h a i=0 shot seen=""
  dir=$(e2e_folder blink)
  decode_art "$dir"
  a="$dir/art"
  read -r ox oy w h <<<"${blink_area[$k]}"
  write_ini "$dir" "[param]" "Char=$k" "PosX=$x" "PosY=$y"
  crop "$a/char.png" "$w" "$h" $((102 * k + ox)) "$oy" "$dir/open.png"
  crop "$a/char.png" "$w" "$h" $((102 * k + ox)) 113 "$dir/band1.png"
  crop "$a/char.png" "$w" "$h" $((102 * k + ox)) 135 "$dir/band2.png"
  [ "$(pixels_differ "$dir/open.png" "$dir/band2.png")" -gt 0 ] || fail "band 2 looks open"
  start_compact "$dir" "$x" "$y"
  local started=$SECONDS first=""
  # The first blink comes about 3.1 s after start, the next ones every 3.1
  # to 5 s, each showing band 2, then band 1, for about a quarter second.
  # Every sample must be one of the three pictures; some must be closed,
  # followed by open again.
  local until=$((SECONDS + 120))  # a loaded machine samples slowly: look long enough to meet a blink
  while [ "$SECONDS" -lt "$until" ]; do
    i=$((i + 1))
    shot="$dir/eyes-$((i % 2)).png"
    shoot $((x + ox)) $((y + oy)) "$w" "$h" "$shot"
    if [ "$(pixels_differ "$shot" "$dir/open.png")" = 0 ]; then
      [ -n "$seen" ] && break
    elif [ "$(pixels_differ "$shot" "$dir/band2.png")" = 0 ]; then
      first=${first:-$((SECONDS - started))}
      seen+=2
    elif [ "$(pixels_differ "$shot" "$dir/band1.png")" = 0 ]; then
      first=${first:-$((SECONDS - started))}
      seen+=1
    else
      cp "$shot" "$dir/eyes-unknown.png"
      fail "the eye area shows neither open eyes nor a blink band (eyes-unknown.png)"
    fi
  done
  [ -n "$seen" ] || fail "no blink seen"
  [ "$(pixels_differ "$shot" "$dir/open.png")" = 0 ] || fail "the eyes did not open again"
  echo "blink bands seen: $seen, the first about ${first} s after the window appeared"
  exit_launcher
}

"case_$1"
echo "PASS: $1"
