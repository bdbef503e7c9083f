#!/usr/bin/env bash
# Makes the seed corpus of the archive fuzz target from small archives packed
# by dida-archive. Each seed: u32 little-endian index length, index, data.
# usage: make-seeds.sh DIDA_ARCHIVE OUTDIR
set -euo pipefail
tool=$1 out=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out" "$work/art"

u32() {
  local n=$1
  printf "\\x$(printf %02x $((n & 255)))\\x$(printf %02x $(((n >> 8) & 255)))"
  printf "\\x$(printf %02x $(((n >> 16) & 255)))\\x$(printf %02x $(((n >> 24) & 255)))"
}

seed() {
  local name=$1 archive=$2
  { u32 "$(stat -c %s "$archive.idx")"; cat "$archive.idx" "$archive.dat"; } >"$out/$name"
}

cd "$work/art"
printf 'TW01 picture' >char.tw
printf 'TW01 buttons' >buttons.tw
printf 'TW01 panel' >panel.tw
printf 'RIFF....WAVEfmt ' >click.wav
printf 'BM\x3e\0\0\0\0\0\0\0\x3e\0\0\0\x28\0\0\0\x10\0\0\0\x08\0\0\0\x01\0\x01\0' >mask1.bmp
cp mask1.bmp mask2.bmp
printf 'x' >one
"$tool" pack "$work/delivered" char.tw buttons.tw panel.tw click.wav mask1.bmp mask2.bmp >/dev/null
"$tool" pack "$work/scrambled" --scramble 1:0x5A char.tw --scramble 2 click.wav \
  --as Zeta --scramble 1 one >/dev/null
"$tool" pack "$work/dbcs" --as "$(printf '\xb5\xe3.tw')" char.tw --as CLICK.WAV click.wav >/dev/null
seed delivered "$work/delivered"
seed scrambled "$work/scrambled"
seed dbcs "$work/dbcs"
