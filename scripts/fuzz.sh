#!/usr/bin/env bash
# Runs one libFuzzer target: first every saved crasher (each must now pass
# cleanly), then SECONDS of fuzzing from the seed corpus.
# usage: fuzz.sh TARGET SECONDS WORKDIR [CORPUS] [CRASHERS]
set -euo pipefail
target=$1 seconds=$2 work=$3 corpus=${4:-} crashers=${5:-}
mkdir -p "$work/corpus" "$work/artifacts"
if [ -n "$crashers" ] && [ -d "$crashers" ] && [ -n "$(ls -A "$crashers")" ]; then
  echo "[fuzz] replaying $(ls "$crashers" | wc -l) saved crashers"
  "$target" "$crashers"/*
fi
seeds=()
if [ -n "$corpus" ] && [ -d "$corpus" ]; then seeds+=("$corpus"); fi
echo "[fuzz] $(basename "$target") for ${seconds}s"
exec "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$work/artifacts/" -print_final_stats=1 "$work/corpus" "${seeds[@]}"
