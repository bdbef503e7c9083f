#!/usr/bin/env bash
# Formats every C++ source of the tree with the project's .clang-format.
# With --check it changes nothing and fails, naming each file that differs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

# The tracked sources when this is a git clone; otherwise every source
# outside the build folders.
if git rev-parse --is-inside-work-tree > /dev/null 2>&1; then
  mapfile -t files < <(git ls-files -- '*.cpp' '*.h' '*.inl')
else
  mapfile -t files < <(find . -path ./build -prune -o -type f \
    \( -name '*.cpp' -o -name '*.h' -o -name '*.inl' \) -print | sort)
fi

if [ "${1:-}" = --check ]; then
  clang-format --dry-run -Werror "${files[@]}"
  echo "[format] ${#files[@]} files formatted as .clang-format says"
else
  clang-format -i "${files[@]}"
fi
