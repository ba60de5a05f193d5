#!/usr/bin/env bash
# Screenshots of every look of TplButton under Wine, one per focused row.
#   controls/gallery-shots.sh BUILD_DIR OUT_DIR
# BUILD_DIR is the win64 build (build/win64); needs Xvfb, Wine and imagemagick.
set -eu
build=$(realpath "$1")
out=$(realpath -m "$2")
here=$(cd "$(dirname "$0")" && pwd)
state=$out/wine
mkdir -p "$out"
"$here/../tests/wine/start.sh" "$state" >/dev/null
export EAR_WINE_STATE=$state
source "$here/../tests/wine/wine-env.sh"
trap '"$here/../tests/wine/stop.sh" "$state"' EXIT
# rows: 0 bsNormal, 3 bsFlat bffBump, 5 bsRoundRect
for row in ${EAR_GALLERY_ROWS:-0 3 5}; do
  "$EAR_WINE" "$build/controls/plButton_gallery.exe" "$row" 6 &
  pid=$!
  sleep 4
  import -window root -crop 770x610+0+0 "$out/gallery-focus-row$row.png"
  wait "$pid" || true
done
echo "screenshots in $out"
