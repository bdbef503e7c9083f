# Which Wine runs each Windows flavour, and whether it runs on this host.
# Sourced by the scripts that start Wine. Debian's `wine` wrapper is never
# used: it picks wine32 whenever that is installed, even on a host whose
# kernel runs no 32-bit x86 code at all.

wine_loader() {
  case $1 in
    32) echo /usr/lib/wine/wine ;;
    64) echo /usr/lib/wine/wine64 ;;
  esac
}

# The 64-bit server serves both flavours; the 32-bit one is the fallback.
wine_server() {
  local server
  for server in /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver32; do
    if "$server" --version >/dev/null 2>&1; then
      echo "$server"
      return 0
    fi
  done
  return 1
}

# Prints why FLAVOUR (32 or 64) cannot run here; prints nothing when it can.
# It tries the loader itself: on a host without IA-32 emulation the i386
# loader fails with "Exec format error".
wine_cannot_run() {
  local loader out
  loader=$(wine_loader "$1")
  if [ ! -x "$loader" ]; then
    echo "$loader is not installed"
  elif ! out=$("$loader" --version 2>&1 </dev/null); then
    # The shell's own words, without its script and line: "...: Exec format error".
    echo "$loader does not start ($(echo "$out" | head -n 1 | sed -E 's/^.*line [0-9]+: //'))"
  elif ! wine_server >/dev/null; then
    echo "no wineserver starts"
  fi
}

wine_join() {
  local IFS=';'
  echo "$*" | sed 's/;/; /g'
}

# Decides which flavours to run: prints "32 64", "32" or "64" on stdout and
# one line saying what and why on stderr. DIDA_WINE_FLAVOURS ("32", "64" or
# "32 64") forces a choice; a forced flavour that cannot run is an error, as
# is a host that runs none.
wine_decide() {
  local requested=${DIDA_WINE_FLAVOURS:-32 64} bits why run=() skipped=()
  requested=${requested//,/ }
  for bits in $requested; do
    case $bits in
      32 | 64) ;;
      *)
        echo "[wine] DIDA_WINE_FLAVOURS='$DIDA_WINE_FLAVOURS': give 32, 64 or \"32 64\"" >&2
        return 1
        ;;
    esac
    why=$(wine_cannot_run "$bits")
    if [ -z "$why" ]; then
      run+=("$bits")
    elif [ -n "${DIDA_WINE_FLAVOURS:-}" ]; then
      echo "[wine] DIDA_WINE_FLAVOURS asks for win$bits, which cannot run on this host: $why" >&2
      return 1
    else
      skipped+=("win$bits: $why")
    fi
  done
  if [ ${#run[@]} -eq 0 ]; then
    echo "[wine] no Windows flavour can run on this host ($(wine_join "${skipped[@]}"))" >&2
    return 1
  fi
  local what="[wine] will run win${run[0]}"
  [ ${#run[@]} -eq 1 ] || what+=" and win${run[1]}"
  if [ -n "${DIDA_WINE_FLAVOURS:-}" ]; then
    what+=", as DIDA_WINE_FLAVOURS=$DIDA_WINE_FLAVOURS asks"
  elif [ ${#skipped[@]} -eq 0 ]; then
    what+=": both run on this host"
  else
    what+="; the other is built but cannot run on this host ($(wine_join "${skipped[@]}"))"
  fi
  echo "$what" >&2
  echo "${run[*]}"
}
