#!/usr/bin/env bash
# Start-up benchmark under Wine: the launcher (backdrop painted, title screen painted and
# rounded) and the change to the procedure screen (clicked after half a second, and in runs
# of their own at once), against the floor (the launcher's own pixels shown with one blit
# per window, captured from it first) and a minimal one-window program, all started the
# same way, interleaved in one run.
#   tools/bench/bench_startup.sh [RUNS]   (after: cmake --build --preset win64)
# EAR_BENCH_PACKAGE_OPTS passes options to the sample package (e.g. --no-bg);
# EAR_BENCH_LAUNCHER times another build of the launcher (e.g. an older one, to compare).
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build/win64
runs=${1:-7}
state=$(mktemp -d /tmp/ear-bench.XXXX)
trap '"$root/tests/wine/stop.sh" "$state/wine"; rm -rf "$state"' EXIT
"$root/tests/wine/start.sh" "$state/wine" >/dev/null
export EAR_WINE_STATE=$state/wine
source "$root/tests/wine/wine-env.sh"
app=$state/app
python3 "$root/scripts/make_sample_package.py" "$app" ${EAR_BENCH_PACKAGE_OPTS:-} --standin "$build/tools/standin_exam/standin_exam.exe" >/dev/null
cp "${EAR_BENCH_LAUNCHER:-$build/ExamAutoRunner.exe}" "$app/ExamAutoRunner.exe"
cp "$build/tools/bench/bench_minimal_window.exe" "$build/tools/bench/bench_floor_window.exe" "$state/"
cd "$state"
"$EAR_WINE" "$build/tools/bench/bench_startup.exe" "$runs" \
  "$app/ExamAutoRunner.exe" "$state/bench_minimal_window.exe|BenchMinimal" "$state/bench_floor_window.exe"
