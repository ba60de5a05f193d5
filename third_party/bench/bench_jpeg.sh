#!/usr/bin/env bash
# JPEG decode with and without libjpeg-turbo's SIMD code, under Wine, on screen-sized
# pictures (the screens' 860x713 and 652x502 pictures, a 1024x768 backdrop tile).
# Plain C is the baseline measured in the same run; prints times and ratios.
#   third_party/bench/bench_jpeg.sh [RUNS]   (after scripts/install-deps.sh)
# The SIMD build needs nasm, which the project's builds do not (third_party/CMakeLists.txt).
set -eu
command -v nasm >/dev/null || { echo "the SIMD variant needs nasm: apt-get install --no-install-recommends nasm" >&2; exit 1; }
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${1:-30}
out=$root/build/bench-jpeg
src=$root/third_party/libjpeg-turbo/src
mkdir -p "$out"
for simd in ON OFF; do
  b=$out/libjpeg-simd-$simd
  if [ ! -f "$b/libjpeg.a" ]; then
    cmake -S "$src" -B "$b" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$b/install" -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=OFF -DWITH_SIMD=$simd >"$b.log" 2>&1
    cmake --build "$b" --target jpeg-static -j 2 >>"$b.log" 2>&1
  fi
  x86_64-w64-mingw32-g++-posix -O2 -std=c++20 -static -I"$src" -I"$b" \
    "$root/third_party/bench/bench_jpeg.cpp" "$b/libjpeg.a" -o "$out/bench_jpeg_simd_$simd.exe"
done
pics=()
for size in 860x713 652x502 1024x768; do
  pic=$out/pic_$size.jpg
  # Photo-like content: smooth colour fields with fine noise.
  convert -size "$size" -seed 7 plasma:fractal -blur 0x1 -quality 90 "$pic"
  pics+=("$pic")
done
state=$(mktemp -d /tmp/ear-bench-jpeg.XXXX)
trap '"$root/tests/wine/stop.sh" "$state"; rm -rf "$state"' EXIT
"$root/tests/wine/start.sh" "$state" >/dev/null
export EAR_WINE_STATE=$state
source "$root/tests/wine/wine-env.sh"
# Alternating rounds; the fastest of all rounds counts.
for round in 1 2 3; do
  for simd in OFF ON; do
    "$EAR_WINE" "$out/bench_jpeg_simd_$simd.exe" "$runs" "${pics[@]}" | sed "s/^/$simd /" >>"$state/times"
  done
done
echo "picture      plain C (us)  SIMD (us)  SIMD/plain"
for pic in "${pics[@]}"; do
  awk -v p="$pic" '$2 == p { best[$1] = (best[$1] == "" || $3 < best[$1]) ? $3 : best[$1] }
    END { n = p; sub(/.*pic_/, "", n); sub(/\.jpg$/, "", n);
          printf "%-12s %12d %10d %11.2f\n", n, best["OFF"], best["ON"], best["ON"] / best["OFF"] }' "$state/times"
done
