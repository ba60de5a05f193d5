# Sourced by every script that runs a Windows program under Wine.
# EAR_WINE_STATE: the folder of this test run (prefix, display number, logs).
EAR_WINE_STATE=${EAR_WINE_STATE:-${TMPDIR:-/tmp}/ear-wine}
EAR_WINE=${EAR_WINE:-/usr/lib/wine/wine64}
EAR_WINESERVER=${EAR_WINESERVER:-/usr/lib/wine/wineserver}
export WINEPREFIX="$EAR_WINE_STATE/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# The ANSI code page follows the locale: ja_JP gives 932, so Shift-JIS names work.
# EAR_WINE_LOCALE runs a test under another one (the launcher must not depend on it).
export LC_ALL=${EAR_WINE_LOCALE:-ja_JP.UTF-8} LANG=${EAR_WINE_LOCALE:-ja_JP.UTF-8}
if [ -z "${EAR_KEEP_DISPLAY:-}" ] && [ -f "$EAR_WINE_STATE/display" ]; then
  export DISPLAY=":$(cat "$EAR_WINE_STATE/display")"
fi
