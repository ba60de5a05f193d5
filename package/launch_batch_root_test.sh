#!/usr/bin/env bash
# The launch batch with the launcher directly in a drive's root folder: a free drive letter of
# the Wine prefix maps a temp folder, and the root test of the launch batch runs on it.
#   launch_batch_root_test.sh TEST_EXE
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../tests/wine/wine-env.sh"
test_exe=$1
source "$here/../tests/wine/map-drive.sh"
EAR_ROOT_DRIVE="${drive^^}:" WINEDEBUG=-all "$EAR_WINE" "$test_exe"
