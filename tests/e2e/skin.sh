#!/usr/bin/env bash
# A skin folder beside the real program, made here with ImageMagick: page 1
# is a character of its own (opaque, half and fully transparent pixels, eyes
# that close in one known rectangle), the panel carries a band and a tint,
# and three pages hold refused files (cut short, of the wrong size, a header
# claiming 100,000 x 100,000 pixels). The screen must show the skin's pixels
# blended over the page background exactly, clicks must follow the skin's
# alpha, the blink must stay in the area the skin's pictures give, the
# refused pages must show the built-in characters with one box naming each
# file, the huge header, alone in a skin of its own, must cost neither time
# nor memory against a page4.png that is a folder, and nothing of the skin
# may reach the settings file.
# usage: skin.sh [OUT_DIR]   (OUT_DIR gets skin.png, the skinned window)
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
. "$here/lib.sh"
trap cleanup_launcher EXIT

out=${1:-}
x=600 y=100 # room on the left: the panel opens there
settings=("[param]" "Char=0" "PosX=$x" "PosY=$y")

# ---- the skin's pictures ---------------------------------------------------------

# Where the eyes close: the only rectangle in which page1-blink.png differs
# (x y width height). It reaches past the built-in page's blink area.
blink_area[0]="36 36 30 12"
lid='#2f4d7a'

# The character of page 1 (102 x 113): a robot. Alpha 255 almost everywhere
# it is drawn, 128 over its chest, 160 on its antenna's tip, 0 around it.
# robot OUT open|closed
robot() {
  local eyes=(-fill '#1b2a3a' -draw 'rectangle 41,39 46,44' -draw 'rectangle 55,39 60,44')
  [ "$2" = closed ] && eyes=(-fill "$lid" -draw 'rectangle 36,36 65,47')
  convert -size 102x113 xc:none +antialias \
    -fill '#3d3d4a' -draw 'rectangle 50,8 51,13' -fill '#ffcc33a0' -draw 'rectangle 47,2 54,7' \
    -fill '#5b7fb5' -draw 'rectangle 30,14 71,52' -fill '#c8f0ff' -draw 'rectangle 36,36 65,47' \
    "${eyes[@]}" \
    -fill '#d9534f' -draw 'rectangle 26,55 75,59' -draw 'rectangle 26,76 75,84' \
    -draw 'rectangle 26,60 37,75' -draw 'rectangle 64,60 75,75' \
    -draw 'rectangle 18,58 25,78' -draw 'rectangle 76,58 83,78' \
    -fill '#ffffff80' -draw 'rectangle 38,60 63,75' \
    -fill '#3d3d4a' -draw 'rectangle 32,85 45,104' -draw 'rectangle 56,85 69,104' \
    -strip "PNG32:$1"
}

# The skin folder DIR/skin.
make_skin() {
  local s="$1/skin"
  mkdir -p "$s"
  robot "$s/page1.png" open
  robot "$s/page1-blink.png" closed
  # The panel: an opaque band along its foot, a red tint over its top edge.
  convert -size 174x132 xc:none +antialias -fill '#5b7fb5' -draw 'rectangle 6,123 167,128' \
    -fill '#d9534f60' -draw 'rectangle 10,3 163,9' -strip "PNG32:$s/panel.png"
  # Page 2: a whole picture of the right size, cut inside its pixel data.
  robot "$1/whole.png" open
  head -c $(($(stat -c %s "$1/whole.png") - 30)) "$1/whole.png" >"$s/page2.png"
  convert -size 50x50 xc:'#d9534f' -strip "PNG32:$s/page3.png"
  cp "$here/../data/skin/huge-header.png" "$s/page4.png"
}

# The program's blend of the skin picture SKIN over BACK (same size), per
# channel out = (s * a + b * (255 - a) + 127) / 255, into OUT.
blend() {
  convert "$2" "$1" -channel RGB \
    -fx 'xa = floor(v.a * 255 + 0.5);
         floor((floor(v * 255 + 0.5) * xa + floor(u * 255 + 0.5) * (255 - xa) + 127) / 255) / 255' \
    -alpha off "$3"
}

# DIR/skinned/art: the decoded artwork with page 1's frame and the panel as
# the skin should make them. Page 1's frame lies over the page background
# from back.tw, the second archive's picture that the program decodes, not
# over the built-in frame: where the built-in character is and the skin is
# transparent, the background must show.
skinned_art() {
  local a="$1/art" t="$1/skinned/art"
  mkdir -p "$t"
  "$picture_tool" decode "$art_dir/back.tw" "$a/back.png" >/dev/null || fail "decoding back.tw"
  crop "$a/back.png" 102 113 0 0 "$1/back1.png"
  blend "$1/skin/page1.png" "$1/back1.png" "$t/page1.png"
  convert "$a/char.png" "$t/page1.png" -composite "$t/char.png"
  blend "$1/skin/panel.png" "$a/panel.png" "$t/panel.png"
  cp "$a/buttons.png" "$a/mask1.png" "$a/mask2.png" "$t/"
}

# ---- start-up: the box, its time and the memory it took --------------------------

visible_windows() { xdotool search --onlyvisible --name '^dida$' 2>/dev/null | wc -l; }
no_window() { [ "$(visible_windows)" = 0 ]; }

# Starts the launcher from DIR and waits until N windows titled dida show
# (1: the launcher's; 2: with the skin's box beside it); the time from the
# start in shown_ms.
# start_timed DIR N
start_timed() {
  local from deadline=$((SECONDS + 60))
  poll no_window || fail "a window titled dida is still on the screen"
  park_pointer
  from=$(date +%s%N)
  start_launcher "$1"
  until [ "$(visible_windows)" -ge "$2" ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "$2 windows titled dida did not show"
    sleep 0.05
  done
  shown_ms=$((($(date +%s%N) - from) / 1000000))
}

# Whether the launcher's box takes input with the title dida; its lines
# (as dida-remote dialog prints them) in $text.
box_text() {
  text=$(remote dialog 2>/dev/null | tr -d '\r' || true)
  [ "$(head -n 1 <<<"$text")" = "title dida" ]
}
window_takes_input() { ! remote dialog >/dev/null 2>&1; }

# Reads the box, which must say LINE, answers it and waits until start-up
# has gone on to the window taking input at its place.
answer_box() {
  local text=""
  poll box_text || fail "the box does not take input (last seen: $text)"
  grep -qxF -- "$1" <<<"$text" || fail "the box says: $text"
  remote click 1
  poll window_takes_input || fail "the box did not close"
  wait_for_rect "$x $y $((x + char_width)) $((y + window_height))"
}

# The launcher process's peak resident memory so far, in kB, into $peak.
read_peak() {
  peak=$(sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$launcher_pid/status")
  [ -n "$peak" ] || fail "no peak memory for process $launcher_pid"
}

# Whether the system's imaging component is loaded into the launcher.
codec_loaded() { grep -qi windowscodecs "/proc/$launcher_pid/maps"; }

message="65535 皮肤文件夹中的下列文件没有使用，已改用内置图片：\\n\\n"
damaged="page2.png：图片已损坏或不完整。\\n"
small="page3.png：图片尺寸不对。\\n"
huge="page4.png：图片尺寸不对。\\n"

# ---- the window wearing the skin -----------------------------------------------------

# Watches page 1 until its eyes have closed and opened again. Every frame
# must be the open picture or the same with the blink rectangle closed:
# nothing outside the rectangle changes, everything inside it does.
# watch_blink DIR
watch_blink() {
  local d=$1 s="$1/skinned" bx by bw bh i=0 shot seen="" until=$((SECONDS + 120))
  read -r bx by bw bh <<<"${blink_area[0]}"
  compact_picture "$s" 0 0 0 "$d/open.png"
  convert "$d/open.png" -fill "$lid" -draw "rectangle $bx,$by $((bx + bw - 1)),$((by + bh - 1))" \
    "$d/closed.png"
  while [ "$SECONDS" -lt "$until" ]; do
    i=$((i + 1))
    shot="$d/frame-$((i % 2)).png"
    shoot "$x" "$y" 102 132 "$shot"
    if [ "$(pixels_differ "$shot" "$d/open.png" "$s/art/mask1.png")" = 0 ]; then
      [ -n "$seen" ] && break
    elif [ "$(pixels_differ "$shot" "$d/closed.png" "$s/art/mask1.png")" = 0 ]; then
      seen+=c
    else
      cp "$shot" "$d/frame-unknown.png"
      fail "a frame is neither the open nor the closed picture (frame-unknown.png)"
    fi
  done
  [ -n "$seen" ] || fail "no blink seen in $i frames"
  [ "$(pixels_differ "$shot" "$d/open.png" "$s/art/mask1.png")" = 0 ] ||
    fail "the eyes did not open again"
  echo "blink: $i frames, ${#seen} of them closed"
}

# Shows page K (0-based) by clicking BUTTON (next or previous) and waits for
# it: built-in pages as the decoded artwork draws them, page 1 as skinned.
# turn_to DIR BUTTON K
turn_to() {
  local d=$1 prev=19 next=0 art=$1
  if [ "$2" = next ]; then
    click_at $((x + 75)) $((y + 121))
    prev=0 next=19
  else
    click_at $((x + 25)) $((y + 121))
  fi
  [ "$3" = 0 ] && art="$1/skinned"
  compact_picture "$art" "$3" "$prev" "$next" "$d/expected.png"
  compact_mask "$d" "$3" "$d/mask.png"
  wait_for_screen "$x" "$y" 102 132 "$d/expected.png" "$d/mask.png" "$d/screen.png" \
    "page $(($3 + 1)) after $2"
}

# The expanded window, panel on the left: the skinned panel beside the
# skinned page, the caption box left out (it holds the page's name).
expect_skinned_panel() {
  local d=$1 s="$1/skinned" wleft=$((x - panel_width))
  wait_for_rect "$wleft $y $((x + char_width)) $((y + window_height))"
  expanded_picture "$s" 0 1 "$d/expected-panel.png"
  expanded_mask "$s" 0 1 "$d/mask-panel.png"
  wait_for_screen "$wleft" "$y" 276 132 "$d/expected-panel.png" "$d/mask-panel.png" \
    "$d/panel-screen.png" "the skinned panel"
  if [ -n "$out" ]; then
    mkdir -p "$out"
    convert -size 276x132 xc:black "$s/art/mask2.png" -composite \
      "$s/art/mask1.png" -geometry +174+0 -composite "$d/outline.png"
    convert "$d/panel-screen.png" "$d/outline.png" -alpha off -compose CopyOpacity -composite \
      -strip "$out/skin.png"
  fi
}

# ---- the runs ------------------------------------------------------------------------

# Without a skin: the settings file the skinned runs must also leave.
plain=$(e2e_folder skin-none)
write_ini "$plain" "${settings[@]}"
start_compact "$plain" "$x" "$y"
exit_launcher

# The cost of the header that claims 100,000 x 100,000 pixels, seen from
# outside: a skin of only that file as page4.png against one whose page4.png
# is a folder, refused unread with the same box. The header is refused on
# its own, so the imaging component is never loaded for it, and the time to
# the box and the peak memory stay those of the folder (a decoder taking
# the file on would ask for 40 GB).
# box_alone NAME: the skin folder in the run folder NAME; the time to the
# box in shown_ms and the peak memory in peak.
box_alone() {
  local d line
  d=$(e2e_folder "$1")
  mkdir -p "$d/skin"
  if [ "$1" = skin-huge ]; then
    cp "$here/../data/skin/huge-header.png" "$d/skin/page4.png"
    line=$huge
  else
    mkdir "$d/skin/page4.png"
    line="page4.png：不是文件，而是文件夹。\\n"
  fi
  write_ini "$d" "${settings[@]}"
  start_timed "$d" 2
  answer_box "$message$line"
  read_peak
  ! codec_loaded || fail "the imaging component was loaded for a page4.png refused unread"
  exit_launcher
  diff -u <(ini_text "$plain") <(ini_text "$d") || fail "settings file after $1"
}
box_alone skin-folder
folder_ms=$shown_ms folder_kb=$peak
box_alone skin-huge
echo "start to box: ${shown_ms} ms for the huge header, ${folder_ms} ms for a folder;" \
  "peak memory ${peak} kB and ${folder_kb} kB"
[ "$shown_ms" -lt $((folder_ms + 1000)) ] ||
  fail "the huge header took $((shown_ms - folder_ms)) ms more"
[ "$peak" -lt $((folder_kb + 1024)) ] || fail "the huge header took $((peak - folder_kb)) kB more"

dir=$(e2e_folder skin)
make_skin "$dir"
decode_art "$dir"
skinned_art "$dir"
write_ini "$dir" "${settings[@]}"
start_timed "$dir" 2
answer_box "$message$damaged$small$huge"
# The good files went through the component: its absence above was no
# blind spot of the check.
codec_loaded || fail "the imaging component is not seen loaded for the skin's good files"

compact_picture "$dir/skinned" 0 0 0 "$dir/expected.png"
wait_for_screen "$x" "$y" 102 132 "$dir/expected.png" "$dir/art/mask1.png" "$dir/screen.png" \
  "page 1 wearing the skin"
watch_blink "$dir"

# A click on a transparent pixel where the built-in character is opaque
# opens nothing: once the page button's click after it has turned the page,
# it has been handled.
click_at $((x + 51)) $((y + 92))
turn_to "$dir" next 1
expect_eq "$(window_rect)" "$x $y $((x + char_width)) $((y + window_height))" \
  "window after a click on a transparent pixel"
turn_to "$dir" next 2
turn_to "$dir" next 3
turn_to "$dir" previous 2
turn_to "$dir" previous 1
turn_to "$dir" previous 0

# An opaque pixel where the built-in character is transparent opens the
# panel; the same point closes it again.
park_pointer
click_at $((x + 30)) $((y + 80))
park_pointer
expect_skinned_panel "$dir"
click_at $((x + 30)) $((y + 80))
park_pointer
wait_for_rect "$x $y $((x + char_width)) $((y + window_height))"
exit_launcher
diff -u <(ini_text "$plain") <(ini_text "$dir") || fail "settings file after the skinned run"
echo "PASS: skin"
