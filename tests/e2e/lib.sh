# Shared steps of the end-to-end tests: each test runs the real dida.exe from
# a folder of its own (so its settings file is its own) under the harness's
# Wine and display. Sourced by the test scripts.
set -euo pipefail

: "${DIDA_WINE_STATE:?}" "${DIDA_EXE:?}" "${DIDA_BUILD:?}"
# shellcheck disable=SC1091
. "$DIDA_WINE_STATE/env.sh"
remote_exe="$(dirname "$DIDA_EXE")/dida-remote.exe"

fail() {
  echo "FAIL: $*" >&2
  exit 1
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

remote() { timeout 20 wine "$remote_exe" "$@"; }

# Waits (up to 20 s) until the launcher window exists.
wait_for_window() {
  for _ in $(seq 1 200); do
    if remote rect >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  fail "the launcher window did not appear"
}

# Waits (up to 20 s) for a background process to end; its status in $exit_status.
wait_for_exit() {
  local pid=$1
  for _ in $(seq 1 200); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid" && exit_status=0 || exit_status=$?
      return 0
    fi
    sleep 0.1
  done
  kill "$pid" 2>/dev/null || true
  fail "process $pid did not end"
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
