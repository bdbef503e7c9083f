#!/usr/bin/env bash
# Says which Windows flavours this host can run under Wine, by trying each
# Wine: prints "32 64", "32" or "64", and on stderr one line saying why.
# --first prints only the one to prefer (32, the product, when it runs).
# Fails when none can run, or when DIDA_WINE_FLAVOURS forces one that cannot.
set -euo pipefail
# shellcheck disable=SC1091
. "$(dirname "$0")/wine-lib.sh"
run=$(wine_decide)
if [ "${1:-}" = --first ]; then
  echo "${run%% *}"
else
  echo "$run"
fi
