# Sourced by every script that runs a Windows program under Wine.
# EAR_WINE_STATE: the folder of this test run (prefix, display number, logs).
EAR_WINE_STATE=${EAR_WINE_STATE:-${TMPDIR:-/tmp}/ear-wine}
# EAR_WINE_ARCH=32: the 32-bit rig, for the win32 build. Its Wine runs inside the i386 root that
# scripts/install-deps.sh makes (root32.sh); the prefix is a 32-bit one. start.sh notes the
# arch in the state folder, so what comes later in the run (stop.sh) finds the same Wine.
EAR_WINE_ARCH=${EAR_WINE_ARCH:-$(cat "$EAR_WINE_STATE/arch" 2>/dev/null || true)}
if [ "$EAR_WINE_ARCH" = 32 ]; then
  _ear_wine_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
  EAR_WINE=${EAR_WINE:-$_ear_wine_dir/wine32}
  EAR_WINESERVER=${EAR_WINESERVER:-$_ear_wine_dir/wineserver32}
  export WINEARCH=win32
  unset _ear_wine_dir
fi
export EAR_WINE_ARCH
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
