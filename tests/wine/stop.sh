#!/usr/bin/env bash
# Ends what start.sh began: the Wine server of the prefix and the Xvfb display.
export EAR_WINE_STATE=$(realpath -m "$1")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
[ -d "$WINEPREFIX" ] && "$EAR_WINESERVER" -k 2>/dev/null
if [ -f "$EAR_WINE_STATE/xvfb.pid" ]; then
  kill "$(cat "$EAR_WINE_STATE/xvfb.pid")" 2>/dev/null
  rm -f "$EAR_WINE_STATE/xvfb.pid"
fi
exit 0
