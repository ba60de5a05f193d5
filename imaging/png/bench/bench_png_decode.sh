#!/usr/bin/env bash
# Benchmark (not a test): our PNG decoder against GDI+ on the title screen's three pictures,
# under a fresh Wine prefix, one process per run (the first loads are what start-up pays).
#   imaging/png/bench/bench_png_decode.sh [RUNS]   (after: cmake --build --preset win64)
set -eu
root=$(cd "$(dirname "$0")/../../.." && pwd)
runs=${1:-5}
state=$(mktemp -d /tmp/ear-bench-png.XXXX)
trap '"$root/tests/wine/stop.sh" "$state/wine"; rm -rf "$state"' EXIT
"$root/tests/wine/start.sh" "$state/wine" >/dev/null
export EAR_WINE_STATE=$state/wine
source "$root/tests/wine/wine-env.sh"
for run in $(seq "$runs"); do
  echo "== run $run"
  "$EAR_WINE" "$root/build/win64/imaging/png/bench_png_decode.exe"
done
