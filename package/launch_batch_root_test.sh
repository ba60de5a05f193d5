#!/usr/bin/env bash
# The launch batch with the launcher directly in a drive's root folder: a free drive letter of
# the Wine prefix maps a temp folder, and the root test of the launch batch runs on it.
#   launch_batch_root_test.sh TEST_EXE
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../tests/wine/wine-env.sh"
test_exe=$1
drive=
for letter in r s t u v w x y; do
  if [ ! -e "$WINEPREFIX/dosdevices/$letter:" ]; then drive=$letter; break; fi
done
[ -n "$drive" ] || { echo "no free drive letter"; exit 1; }
root=$(mktemp -d /tmp/ear-lb-root.XXXXXX)
ln -s "$root" "$WINEPREFIX/dosdevices/$drive:"
trap 'rm -f "$WINEPREFIX/dosdevices/$drive:"; rm -rf "$root"' EXIT
EAR_ROOT_DRIVE="${drive^^}:" WINEDEBUG=-all "$EAR_WINE" "$test_exe"
