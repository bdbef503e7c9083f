# Shared steps of the end-to-end tests: each test runs the real dida.exe from
# a folder of its own (so its settings file is its own) under the harness's
# Wine and display. Sourced by the test scripts.
set -euo pipefail
e2e_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

: "${DIDA_WINE_STATE:?}" "${DIDA_EXE:?}" "${DIDA_BUILD:?}"
# shellcheck disable=SC1091
. "$DIDA_WINE_STATE/env.sh"
remote_exe="$(dirname "$DIDA_EXE")/dida-remote.exe"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Whether the launcher started last still runs, for a failure's message:
# one that ended without a window may have found another instance running.
launcher_state() {
  if [ -z "${launcher_pid:-}" ]; then
    echo "no launcher started"
  elif kill -0 "$launcher_pid" 2>/dev/null; then
    echo "the launcher still runs"
  else
    echo "the launcher has ended"
  fi
}

# A fresh folder holding a copy of dida.exe: e2e_folder NAME
e2e_folder() {
  local dir="$DIDA_BUILD/e2e/$1"
  rm -rf "$dir"
  mkdir -p "$dir"
  cp "$DIDA_EXE" "$dir/dida.exe"
  echo "$dir"
}

# Starts dida.exe from DIR in the background; sets launcher_pid.
start_launcher() {
  wine "$1/dida.exe" </dev/null >/dev/null 2>&1 &
  launcher_pid=$!
}

remote() { timeout 60 wine "$remote_exe" "$@"; }

# Runs the command given until it succeeds, every 0.2 s for at most a minute;
# fails when it never did. Every wait for a state goes through here: a loaded
# machine is slow, and only a failing run waits the whole minute.
poll() {
  local deadline=$((SECONDS + 60))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.2
  done
}

has_window() { remote rect >/dev/null 2>&1; }
has_ended() { ! kill -0 "$1" 2>/dev/null; }

# Waits until the launcher window exists.
wait_for_window() { poll has_window || fail "the launcher window did not appear ($(launcher_state))"; }

# Waits for a background process to end; its status in $exit_status.
wait_for_exit() {
  local pid=$1
  if ! poll has_ended "$pid"; then
    kill "$pid" 2>/dev/null || true
    fail "process $pid did not end"
  fi
  wait "$pid" && exit_status=0 || exit_status=$?
}

# Exit from the menu's command, then wait for the launcher to end.
exit_launcher() {
  remote command 57665
  wait_for_exit "$launcher_pid"
}

# The settings file (GBK, CRLF) as UTF-8 text with Unix line ends.
ini_text() { iconv -f GBK -t UTF-8 <"$1/dida.ini" | tr -d '\r'; }

expect_eq() {
  [ "$1" = "$2" ] || fail "$3: expected [$2], got [$1]"
}

# ---- what the screen shows ---------------------------------------------------
# The window tests compare the screen with the artwork as the host's picture
# tool decodes it. DIDA_ART_DIR and DIDA_HOST_BIN come from CMake; the
# fallbacks are scripts/build.sh's layout (host beside win32).
art_dir=${DIDA_ART_DIR:-$(dirname "$DIDA_BUILD")/host/art}
picture_tool=${DIDA_HOST_BIN:-$(dirname "$DIDA_BUILD")/host/bin}/dida-picture

# Sizes of the window's areas, in pixels.
char_width=102
panel_width=174
window_height=132

# Writes the settings file of DIR from UTF-8 lines given as arguments, as
# the program expects it: GBK with CRLF line ends.
write_ini() {
  local dir=$1
  shift
  printf '%s\r\n' "$@" | iconv -f UTF-8 -t GBK >"$dir/dida.ini"
}

# Moves the pointer off every window, so no hover highlight changes a picture.
park_pointer() { xdotool mousemove 1010 760; }

# The launcher window's rectangle: "left top right bottom".
window_rect() { remote rect | tr -d '\r'; }

# Whether the window is visible with rectangle RECT (the last one read in $got).
rect_is() {
  got=$(window_rect 2>/dev/null || true)
  [ "$got" = "$1" ] && xdotool search --onlyvisible --name '^dida$' >/dev/null 2>&1
}

# Waits until the window is visible with rectangle RECT.
wait_for_rect() {
  local got=""
  poll rect_is "$1" || fail "window rectangle: expected [$1], got [$got] ($(launcher_state))"
}

# Decodes the artwork into DIR/art: char.png, buttons.png, panel.png (the
# colour planes), char-mask.png, panel-mask.png (the mask planes as grey)
# and mask1.png, mask2.png (the window outlines: white inside).
decode_art() {
  local out="$1/art"
  mkdir -p "$out"
  "$picture_tool" decode "$art_dir/char.tw" "$out/char.png" --mask-out "$out/char-mask.png" \
    >/dev/null || fail "decoding char.tw"
  "$picture_tool" decode "$art_dir/buttons.tw" "$out/buttons.png" >/dev/null ||
    fail "decoding buttons.tw"
  "$picture_tool" decode "$art_dir/panel.tw" "$out/panel.png" --mask-out "$out/panel-mask.png" \
    >/dev/null || fail "decoding panel.tw"
  convert "$art_dir/mask1.bmp" -colorspace gray -negate -depth 8 "$out/mask1.png"
  convert "$art_dir/mask2.bmp" -colorspace gray -negate -depth 8 "$out/mask2.png"
}

# Crops W x H at X,Y of IMAGE into OUT: crop IMAGE W H X Y OUT
crop() { convert "$1" -crop "${2}x${3}+${4}+${5}" +repage "$6"; }

# Saves W x H of the screen at X,Y as OUT: shoot X Y W H OUT
shoot() {
  import -window root -crop "${3}x${4}+${1}+${2}" +repage "$5" 2>/dev/null ||
    fail "screenshot of ${3}x${4}+${1}+${2}"
}

# How many pixels of A and B differ, looking only where the grey picture
# MASK (same size, optional) is white.
pixels_differ() {
  local a=$1 b=$2 mask=${3:-} n
  if [ -n "$mask" ]; then
    n=$(convert \( "$a" "$mask" -compose multiply -composite \) \
      \( "$b" "$mask" -compose multiply -composite \) -alpha off -metric AE -compare \
      -format '%[distortion]' info: 2>/dev/null)
  else
    n=$(convert "$a" "$b" -alpha off -metric AE -compare -format '%[distortion]' info: 2>/dev/null)
  fi
  [ -n "$n" ] || fail "comparing $a with $b"
  printf '%.0f\n' "$n"
}

# Whether the screen's W x H at X,Y equals the picture EXPECTED where MASK is
# white (the count of other pixels in $n); the screenshot goes to SHOT.
# screen_is X Y W H EXPECTED MASK SHOT
screen_is() {
  shoot "$1" "$2" "$3" "$4" "$7"
  n=$(pixels_differ "$7" "$5" "$6")
  [ "$n" = 0 ]
}

# Waits until the screen shows EXPECTED; the last screenshot stays in SHOT.
# wait_for_screen X Y W H EXPECTED MASK SHOT WHAT
wait_for_screen() {
  local n=""
  poll screen_is "$@" || fail "$8: $n pixels differ from $5 (screen in $7)"
}

# Whether the screen's W x H at X,Y differs from the picture BEFORE in more
# than MIN pixels (the count in $n); the screenshot goes to SHOT.
# screen_differs X Y W H BEFORE MIN SHOT
screen_differs() {
  shoot "$1" "$2" "$3" "$4" "$7"
  n=$(pixels_differ "$7" "$5")
  [ "$n" -gt "$6" ]
}

# Clicks the left button at screen point X Y.
click_at() { xdotool mousemove "$1" "$2" click 1; }

# Whether the window has followed the pointer to rectangle WANT; if not, the
# pointer is nudged at X,Y so the move loop sees it again.
followed() {
  [ "$(window_rect)" = "$1" ] && return 0
  xdotool mousemove "$2" $(($3 + 1)) mousemove "$2" "$3"
  return 1
}

# Drags with the left button from screen point FROMX FROMY by DX DY and waits
# (a while at most) until the window has followed to rectangle WANT.
# drag FROMX FROMY DX DY WANT
drag() {
  local fromx=$1 fromy=$2 dx=$3 dy=$4 want=$5 i
  xdotool mousemove "$fromx" "$fromy" mousedown 1
  # The system's move loop follows the pointer; move it in steps until the
  # window has followed the whole way.
  for i in 1 2 3 4 5; do
    xdotool mousemove $((fromx + dx * i / 5)) $((fromy + dy * i / 5))
  done
  poll followed "$want" $((fromx + dx)) $((fromy + dy)) || true  # wait_for_rect reports it
  xdotool mouseup 1
}

# ---- the window as the artwork draws it ----------------------------------------
# The blink area of each page inside the character frame: x y width height.
blink_area=("37 21 28 22" "37 32 32 20" "35 25 31 14" "36 28 31 16" "39 27 26 14" "35 38 33 13")

# The compact window of page K as the artwork draws it, the previous and next
# buttons in rows PREV and NEXT of buttons.tw (0 normal, 19 hover, 38 pressed).
# compact_picture DIR K PREV NEXT OUT
compact_picture() {
  local a="$1/art"
  convert \( "$a/char.png" -crop "102x113+$((102 * $2))+0" +repage \) \
    \( \( "$a/buttons.png" -crop "51x19+0+$3" +repage \) \
    \( "$a/buttons.png" -crop "51x19+51+$4" +repage \) +append \) -append "$5"
}

# Where the window's pixels are compared: inside its outline, outside page
# K's blink area (the eyes may be closing at any moment).
# compact_mask DIR K OUT
compact_mask() {
  local x y w h
  read -r x y w h <<<"${blink_area[$2]}"
  convert "$1/art/mask1.png" -fill black -draw "rectangle $x,$y $((x + w - 1)),$((y + h - 1))" "$3"
}

# The expanded window of page K with the panel on SIDE (1 left, 2 right),
# buttons in their normal rows; the caption box and icons are the panel's
# own background here. expanded_picture DIR K SIDE OUT
expanded_picture() {
  local a="$1/art" c q
  if [ "$3" = 1 ]; then c=174 q=0; else c=0 q=102; fi
  compact_picture "$1" "$2" 0 0 "$1/compact-part.png"
  convert -size 276x132 xc:black "$a/panel.png" -geometry "+$q+0" -composite \
    "$1/compact-part.png" -geometry "+$c+0" -composite "$4"
}

# The expanded window's outline without the blink area and the caption box.
# expanded_mask DIR K SIDE OUT
expanded_mask() {
  local a="$1/art" c q x y w h
  if [ "$3" = 1 ]; then c=174 q=0; else c=0 q=102; fi
  read -r x y w h <<<"${blink_area[$2]}"
  convert -size 276x132 xc:black "$a/mask2.png" -geometry "+$q+0" -composite \
    "$a/mask1.png" -geometry "+$c+0" -composite -fill black \
    -draw "rectangle $((c + x)),$y $((c + x + w - 1)),$((y + h - 1))" \
    -draw "rectangle $((q + 26)),15 $((q + 145)),46" "$4"
}

# A point on page K's character body (the character's mask is non-zero
# there), away from the blink area: prints "x y" in the character area.
body_point() {
  local x y v
  for y in 85 80 90 75 95 70; do
    for x in 51 45 57 40 62; do
      v=$(convert "$1/art/char-mask.png" -format "%[fx:int(255*p{$((102 * $2 + x)),$y})]" info:)
      if [ "$v" -gt 0 ]; then
        echo "$x $y"
        return 0
      fi
    done
  done
  fail "no point of the character's body found for page $2"
}

# Starts the launcher from DIR and waits for its compact window at X,Y.
start_compact() {
  park_pointer
  start_launcher "$1"
  wait_for_rect "$2 $3 $(($2 + char_width)) $(($3 + window_height))"
}

# ---- a display scale ------------------------------------------------------------
# Moves this test onto a harness of its own, named NAME, whose display has
# DPI (of the fixture's flavour); stop_own_harness ends it.
# harness_at NAME DPI KEEPER
harness_at() {
  local bits
  bits=$(sed -n 's/^export WINEARCH=win//p' "$DIDA_WINE_STATE/env.sh")
  own_harness="$DIDA_BUILD/e2e/$1-harness"
  DIDA_DPI=$2 "$e2e_dir/../../scripts/harness.sh" start "$own_harness" "$bits" "$3" ||
    fail "the harness at $2 DPI did not start"
  DIDA_WINE_STATE=$own_harness
  # shellcheck disable=SC1091
  . "$own_harness/env.sh"
  expect_eq "$(remote dpi | tr -d '\r')" "$2" "the DPI a program gets"
}

stop_own_harness() {
  [ -z "${own_harness:-}" ] || "$e2e_dir/../../scripts/harness.sh" stop "$own_harness" >/dev/null
}

# The window's lengths at DPI as the launcher computes them (see
# tools/geometry), as shell variables: scaled_percent,
# scaled_character_width, scaled_panel_width, scaled_wells, ...
geometry_tool=$(dirname "$picture_tool")/dida-geometry
geometry_at() {
  local lengths
  lengths=$("$geometry_tool" metrics "$1") || fail "dida-geometry metrics $1"
  eval "$(sed 's/^/scaled_/' <<<"$lengths")"
}

# Whether X shows the launcher window with rectangle RECT, in screen pixels
# as the pointer counts them (the last one seen in $got_x).
x_rect_is() {
  local id WINDOW X Y WIDTH HEIGHT SCREEN
  id=$(xdotool search --onlyvisible --name '^dida$' 2>/dev/null | head -n 1) || return 1
  [ -n "$id" ] || return 1
  eval "$(xdotool getwindowgeometry --shell "$id")"
  got_x="$X $Y $((X + WIDTH)) $((Y + HEIGHT))"
  [ "$got_x" = "$1" ]
}

# Decodes the artwork the window draws with at the scale geometry_at read
# into DIR/art: the pictures made for the shipped scale, each pixel repeated
# as the window repeats it, under the names decode_art gives them.
decode_scaled_art() {
  local out="$1/art" suffix="" k=$scaled_art_factor
  mkdir -p "$out"
  [ "$scaled_shipped_percent" = 100 ] || suffix="@$scaled_shipped_percent"
  "$picture_tool" decode "$art_dir/char$suffix.tw" "$out/char.png" --repeat "$k" \
    --mask-out "$out/char-mask.png" >/dev/null || fail "decoding char$suffix.tw"
  "$picture_tool" decode "$art_dir/buttons$suffix.tw" "$out/buttons.png" --repeat "$k" \
    >/dev/null || fail "decoding buttons$suffix.tw"
  "$picture_tool" decode "$art_dir/panel$suffix.tw" "$out/panel.png" --repeat "$k" \
    --mask-out "$out/panel-mask.png" >/dev/null || fail "decoding panel$suffix.tw"
  convert "$art_dir/mask1$suffix.bmp" -sample "$((100 * k))%" -colorspace gray -negate -depth 8 \
    "$out/mask1.png"
  convert "$art_dir/mask2$suffix.bmp" -sample "$((100 * k))%" -colorspace gray -negate -depth 8 \
    "$out/mask2.png"
}

# A point of page K's body in the decoded scaled artwork of DIR, below the
# eyes and 3 pixels from the body's edge every way: the middle one of all
# such points. Prints "x y" in the character area.
scaled_body_point() {
  local w=$scaled_character_width top points
  read -r _ _ _ top <<<"${scaled_blink_areas[$2]}"
  points=$(convert "$1/art/char-mask.png" -crop "${w}x${scaled_frame_height}+$((w * $2))+0" \
    +repage -threshold 0 -morphology Erode Square:3 -fill black \
    -draw "rectangle 0,0 $((w - 1)),$((top - 1))" -depth 8 txt:- |
    sed -n 's/^\([0-9]*\),\([0-9]*\): .*#FFFFFF.*/\1 \2/p')
  [ -n "$points" ] || fail "no point of page $2's body at $scaled_percent %"
  sed -n "$((($(wc -l <<<"$points") + 1) / 2))p" <<<"$points"
}

# Ends a launcher that a failed case left running, so that the next case's
# start is not refused as a second instance. For `trap cleanup_launcher EXIT`.
cleanup_launcher() {
  [ -n "${launcher_pid:-}" ] && kill -0 "$launcher_pid" 2>/dev/null || return 0
  remote command 57665 >/dev/null 2>&1 || true
  for _ in $(seq 1 50); do
    kill -0 "$launcher_pid" 2>/dev/null || return 0
    sleep 0.1
  done
  kill "$launcher_pid" 2>/dev/null || true
}
