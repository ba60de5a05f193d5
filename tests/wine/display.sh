#!/usr/bin/env bash
# Gives a Wine state folder a fresh Xvfb display of the given size; a prefix already there
# stays. Wine's programs take the screen's size when they start, so the prefix's Wine server
# (and every program of the prefix) is ended first.
#   display.sh STATE_DIR WIDTHxHEIGHT
set -eu
export EAR_WINE_STATE=$(realpath -m "$1")
size=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
if [ -d "$WINEPREFIX" ]; then "$EAR_WINESERVER" -k 2>/dev/null || true; fi
if [ -f "$EAR_WINE_STATE/xvfb.pid" ]; then
  kill "$(cat "$EAR_WINE_STATE/xvfb.pid")" 2>/dev/null || true
  rm -f "$EAR_WINE_STATE/xvfb.pid" "$EAR_WINE_STATE/display"
fi
mkdir -p "$EAR_WINE_STATE"
rm -f "$EAR_WINE_STATE/display.tmp"
exec 9>"$EAR_WINE_STATE/display.tmp"
Xvfb -displayfd 9 -screen 0 "${size}x24" -nolisten tcp -noreset >"$EAR_WINE_STATE/xvfb.log" 2>&1 &
echo $! >"$EAR_WINE_STATE/xvfb.pid"
for _ in $(seq 100); do [ -s "$EAR_WINE_STATE/display.tmp" ] && break; sleep 0.1; done
exec 9>&-
tr -d '\n' <"$EAR_WINE_STATE/display.tmp" >"$EAR_WINE_STATE/display"
[ -s "$EAR_WINE_STATE/display" ] || { echo "no Xvfb display at $size" >&2; exit 1; }
