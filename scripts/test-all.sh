#!/usr/bin/env bash
# Builds every configuration and runs every test layer:
#   native  - the portable core under ASan + UBSan
#   wine    - the Windows layer, run under Wine
#   e2e     - the real ExamAutoRunner.exe under Wine on generated packages
#   win32   - the 32-bit build (built, not run)
# Ends with one line: "N passed, N failed".
set -u
cd "$(dirname "$0")/.."
jobs=${EAR_JOBS:-2}
total_pass=0
total_fail=0
summary=()

count() {  # layer, ctest log
  local layer=$1 log=$2 line passed failed all
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n1)
  if [ -z "$line" ]; then
    if grep -q 'No tests were found' "$log"; then
      passed=0; failed=0
    else
      passed=0; failed=1  # the layer did not even run
    fi
  else
    failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    all=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
    passed=$((all - failed))
  fi
  total_pass=$((total_pass + passed))
  total_fail=$((total_fail + failed))
  summary+=("$layer: $passed passed, $failed failed")
}

build() {  # preset
  cmake --preset "$1" >"build/$1-configure.log" 2>&1 &&
    cmake --build --preset "$1" -j "$jobs" >"build/$1-build.log" 2>&1
}

mkdir -p build
logs=build/test-logs
mkdir -p "$logs"

if build native-asan; then
  ctest --preset native-asan -j "$jobs" 2>&1 | tee "$logs/native.log" | tail -n 3
else
  tail -n 30 build/native-asan-build.log build/native-asan-configure.log
  echo "native build failed" >"$logs/native.log"
fi
count native "$logs/native.log"

if build win64; then
  # Two runs, each with a fresh Wine prefix: the Windows layer, then end to end.
  ctest --preset win64 -LE e2e 2>&1 | tee "$logs/wine.log" | tail -n 3
  count wine "$logs/wine.log"
  ctest --preset win64 -L e2e 2>&1 | tee "$logs/e2e.log" | tail -n 3
  count e2e "$logs/e2e.log"
else
  tail -n 30 build/win64-build.log build/win64-configure.log
  summary+=("wine: build failed"); summary+=("e2e: build failed")
  total_fail=$((total_fail + 2))
fi

if build win32; then
  summary+=("win32: 1 passed, 0 failed (built)")
  total_pass=$((total_pass + 1))
else
  tail -n 30 build/win32-build.log build/win32-configure.log
  summary+=("win32: 0 passed, 1 failed (build)")
  total_fail=$((total_fail + 1))
fi

echo
echo "== summary"
for line in "${summary[@]}"; do echo "  $line"; done
echo "$total_pass passed, $total_fail failed"
[ "$total_fail" -eq 0 ]
