#!/usr/bin/env bash
# CTest's emulator for the Windows build: runs one program under the test run's Wine.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
exec "$EAR_WINE" "$@"
