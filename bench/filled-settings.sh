#!/usr/bin/env bash
# Prints a settings file whose 48 slots are all filled, each with a program
# of the Wine prefix as target and icon source (what a person who uses the
# launcher has). Shared by the start-up and launcher benchmarks.
set -euo pipefail
targets=('C:\windows\notepad.exe' 'C:\windows\regedit.exe' 'C:\windows\explorer.exe'
  'C:\windows\system32\winemine.exe')
printf '[param]\r\n'
for page in 1 2 3 4 5 6; do
  for slot in 1 2 3 4 5 6 7 8; do
    target=${targets[$(((page + slot) % 4))]}
    printf 'Exec%d-%d=%s\r\nComment%d-%d=slot %d-%d\r\nIcon%d-%d=%s\r\n' \
      "$page" "$slot" "$target" "$page" "$slot" "$page" "$slot" "$page" "$slot" "$target"
  done
done
