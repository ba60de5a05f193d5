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
  exec 9>"$EAR_WINE_STATE/display.tmp"
  Xvfb -displayfd 9 -screen 0 "${size}x24" -nolisten tcp -noreset >"$EAR_WINE_STATE/xvfb.log" 2>&1 &
  echo $! >"$EAR_WINE_STATE/xvfb.pid"
  for _ in $(seq 100); do [ -s "$EAR_WINE_STATE/display.tmp" ] && break; sleep 0.1; done
  exec 9>&-
  tr -d '\n' <"$EAR_WINE_STATE/display.tmp" >"$EAR_WINE_STATE/display"
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
