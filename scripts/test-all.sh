#!/usr/bin/env bash
# Builds every configuration and runs every test layer:
#   native  - the portable core under ASan + UBSan
#   wine    - the Windows layer of the win64 build, run under the host's 64-bit Wine
#   e2e     - the real win64 ExamAutoRunner.exe and earcheck.exe under Wine on generated packages
#   wine32  - the Windows layer of the win32 build, under 32-bit Wine in the i386 root
#   e2e32   - the end-to-end tests on the win32 build, in the same 32-bit rig
#   release - scripts/release.sh twice in two folders gives the same bytes (tests/release/;
#             two release builds of win64 and win32, about 6 minutes on an idle machine)
# (the i386 root is made by scripts/install-deps.sh; tests/wine/root32.sh runs Wine in it).
# Counts test cases in every layer (scripts/test_counts.py), prints passed/skipped/failed and
# the time per layer and the builds on lines of their own, and ends with one line:
# "N passed, N skipped, N failed". Exits non-zero when a build failed, a case failed, or a
# layer passed no test.
set -u
cd "$(dirname "$0")/.."
jobs=${EAR_JOBS:-2}
total_pass=0 total_skip=0 total_fail=0 status=0
builds=() layers=() problems=()
mkdir -p build/test-logs
logs=build/test-logs

build() {  # preset
  local start=$SECONDS
  if cmake --preset "$1" >"$logs/$1-configure.log" 2>&1 &&
     cmake --build --preset "$1" -j "$jobs" >"$logs/$1-build.log" 2>&1; then
    builds+=("$1: built ($((SECONDS - start)) s)")
    return 0
  fi
  tail -n 30 "$logs/$1-configure.log" "$logs/$1-build.log" 2>/dev/null
  builds+=("$1: BUILD FAILED (see $logs/$1-*.log)")
  status=1
  return 1
}

layer() {  # name, preset, ctest arguments...
  local name=$1 preset=$2 counts p s f rc start=$SECONDS
  shift 2
  local dir=build/$preset junit=$PWD/$logs/$name-junit.xml
  rm -rf "$dir/test-results" "$junit"
  ctest --preset "$preset" --output-junit "$junit" "$@" 2>&1 | tee "$logs/$name.log" | tail -n 3
  counts=$(python3 scripts/test_counts.py layer "$dir" "$junit" 2>"$logs/$name-problems.txt")
  rc=$?
  read -r p s f <<<"$counts"
  p=${p:-0} s=${s:-0} f=${f:-0}
  total_pass=$((total_pass + p)) total_skip=$((total_skip + s)) total_fail=$((total_fail + f))
  layers+=("$name: $p passed, $s skipped, $f failed ($((SECONDS - start)) s)")
  while IFS= read -r line; do problems+=("$name: ${line#  }"); done <"$logs/$name-problems.txt"
  [ "$rc" -eq 0 ] || status=1
}

not_run() {  # layer name: its build failed
  layers+=("$1: not run (build failed)")
  status=1
}

if build native-asan; then
  layer native native-asan -j "$jobs" -LE release
else
  not_run native
fi

if build win64; then
  # Two runs, each with a fresh Wine prefix: the Windows layer, then end to end.
  layer wine win64 -LE e2e
  layer e2e win64 -L e2e
else
  not_run wine
  not_run e2e
fi

if build win32; then
  # The same two runs on the 32-bit build, under 32-bit Wine.
  layer wine32 win32 -LE e2e
  layer e2e32 win32 -L e2e
else
  not_run wine32
  not_run e2e32
fi

if [ -d build/native-asan ]; then
  layer release native-asan -L release
else
  not_run release
fi

echo
echo "== builds"
for line in "${builds[@]}"; do echo "  $line"; done
echo "== tests (cases)"
for line in "${layers[@]}"; do echo "  $line"; done
if [ ${#problems[@]} -gt 0 ]; then
  echo "== problems"
  for line in "${problems[@]}"; do echo "  $line"; done
fi
echo "$total_pass passed, $total_skip skipped, $total_fail failed"
[ "$status" -eq 0 ] && [ "$total_fail" -eq 0 ]
