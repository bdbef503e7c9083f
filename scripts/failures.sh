#!/usr/bin/env bash
# Repeats, after CTest's summary, where each failed test failed: its name and
# its first assertion failures, or else its last lines of output. A reader of
# only the end of a long log still sees why the run is red.
# usage: failures.sh BUILD_DIR   (reads BUILD_DIR/Testing/Temporary/LastTest.log)
set -euo pipefail
log=${1:?usage: failures.sh BUILD_DIR}/Testing/Temporary/LastTest.log
[ -f "$log" ] || exit 0
awk '
  / Testing: / { name = substr($0, index($0, "Testing: ") + 9); n = 0; next }
  /^Output:$/ { output = 1; next }
  /^<end of output>$/ { output = 0; next }
  output && !/^-+$/ { lines[n++] = $0; next }
  /^Test Failed/ {
    print "== failed: " name
    shown = 0
    for (i = 0; i < n && shown < 15; i++) {
      if (lines[i] !~ /: Failure$/) continue
      for (j = i; j < n && j < i + 5; j++) print "   " lines[j]
      shown += 5
    }
    if (shown == 0) for (i = (n > 8 ? n - 8 : 0); i < n; i++) print "   " lines[i]
  }
' "$log"
