#!/usr/bin/env bash
# Hand-over benchmark under Wine (see bench_handover.py).
#   tools/bench/bench_handover.sh [RUNS]   (after: cmake --build --preset win64)
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
state=$(mktemp -d /tmp/ear-bench-handover.XXXX)
trap '"$root/tests/wine/stop.sh" "$state/wine"; rm -rf "$state"' EXIT
"$root/tests/wine/start.sh" "$state/wine" >/dev/null
EAR_WINE_STATE=$state/wine EAR_SOURCE_DIR=$root EAR_BUILD_DIR=${EAR_BUILD_DIR:-$root/build/win64} \
  python3 "$(dirname "$0")/bench_handover.py" "$@"
