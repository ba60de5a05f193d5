#!/usr/bin/env bash
# The INI accessors under Wine, with a read-only folder for the read-only file's case (Wine run as
# root writes read-only files, so that case writes through a read-only bind mount).
#   ini_win_test.sh TEST_EXE
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../tests/wine/wine-env.sh"
source "$here/../tests/wine/read-only-mount.sh"
EAR_READ_ONLY_SOURCE="$ro_source_win" EAR_READ_ONLY_VIEW="$ro_view_win" "$EAR_WINE" "$1"
