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
# A mount a test made under the run's folder and could not undo (killed first) goes too.
awk -v r="$EAR_WINE_STATE" 'index($5, r "/") == 1 { print $5 }' /proc/self/mountinfo | sort -r |
  while read -r m; do umount -l "$m" 2>/dev/null; done
exit 0
