#!/usr/bin/env bash
# Start-up and shutdown of the real program: placement, clamping, the single
# instance and the settings file written at exit.
# usage: startup.sh CASE
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
. "$here/lib.sh"

case_default_placement_and_exit_file() {
  local dir
  dir=$(e2e_folder default)
  start_launcher "$dir"
  wait_for_window
  # Centred on the 1024 x 768 screen: ((1024 - 102) / 2, (768 - 132) / 2).
  expect_eq "$(remote rect | tr -d '\r')" "461 318 563 450" "window rectangle"
  [ ! -e "$dir/dida.ini" ] || fail "the settings file was written before exit"
  exit_launcher
  diff -u "$here/data/default-exit.ini" <(ini_text "$dir") || fail "settings file after exit"
}

case_position_is_held_on_screen() {
  local dir x expected
  for x in -20:0 5000:922; do
    dir=$(e2e_folder "clamp${x%%:*}")
    printf '[param]\r\nPosX=%s\r\nPosY=-5\r\n' "${x%%:*}" >"$dir/dida.ini"
    start_launcher "$dir"
    wait_for_window
    expected="${x##*:} 0 $((${x##*:} + 102)) 132"
    expect_eq "$(remote rect | tr -d '\r')" "$expected" "clamped rectangle for PosX=${x%%:*}"
    exit_launcher
    grep -qx "PosX=${x##*:}" <(ini_text "$dir") || fail "PosX not written back as ${x##*:}"
    grep -qx "PosY=0" <(ini_text "$dir") || fail "PosY not written back as 0"
  done
}

case_second_instance_ends_silently() {
  local dir first second before windows
  dir=$(e2e_folder single)
  start_launcher "$dir"
  first=$launcher_pid
  wait_for_window
  printf '[param]\r\nChar=3\r\n' >"$dir/dida.ini"
  before=$(md5sum <"$dir/dida.ini")
  start_launcher "$dir"
  second=$launcher_pid
  wait_for_exit "$second"
  expect_eq "$exit_status" "0" "exit status of the second instance"
  windows=$(xdotool search --onlyvisible --name '^dida$' 2>/dev/null | wc -l)
  expect_eq "$windows" "1" "visible launcher windows"
  expect_eq "$(md5sum <"$dir/dida.ini")" "$before" "settings file after the refused start"
  launcher_pid=$first
  exit_launcher
}

"case_$1"
echo "PASS: $1"
