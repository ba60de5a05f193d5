#!/usr/bin/env bash
# Prepares Wine for one test run: a fresh prefix, an Xvfb display (unless
# EAR_KEEP_DISPLAY is set and DISPLAY names a display to use), the Japanese fonts.
#   start.sh STATE_DIR [WIDTHxHEIGHT]
set -eu
export EAR_WINE_STATE=$(realpath -m "$1")
export EAR_WINE_ARCH=${EAR_WINE_ARCH:-64}  # from the caller only, never from an earlier run's state
size=${2:-1024x768}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
"$here/stop.sh" "$EAR_WINE_STATE" || true
rm -rf "$EAR_WINE_STATE"
mkdir -p "$EAR_WINE_STATE"
echo "$EAR_WINE_ARCH" >"$EAR_WINE_STATE/arch"
if [ -z "${EAR_KEEP_DISPLAY:-}" ]; then
  "$here/display.sh" "$EAR_WINE_STATE" "$size"
  export DISPLAY=":$(cat "$EAR_WINE_STATE/display")"
fi
"$EAR_WINE" wineboot -i >"$EAR_WINE_STATE/wineboot.log" 2>&1
# The screens' fonts are Windows fonts; IPA P Gothic stands in for each of them, the
# registration screen's "ＭＳ Pゴシック" (half-width P) included.
for face in "ＭＳ Ｐゴシック" "ＭＳ Pゴシック" "メイリオ"; do
  "$EAR_WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d "IPAPGothic" /f >>"$EAR_WINE_STATE/wineboot.log" 2>&1
done
# Without a window manager, Wine waits up to 2 s for one on every hide of a managed
# window; unmanaged windows need no window manager.
"$EAR_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$EAR_WINE_STATE/wineboot.log" 2>&1
"$EAR_WINESERVER" -w
echo "wine ready: WINEPREFIX=$WINEPREFIX DISPLAY=$DISPLAY"
