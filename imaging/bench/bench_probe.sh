#!/usr/bin/env bash
# Benchmark (not a test) of the size probe, in one run:
#   (a) GetDimension (bench_probe ours, native preset build),
#   (b) the npm package image-size, synchronous API, on the same files,
#   (c) the floor: open, read 44 bytes, close (bench_probe floor).
# Usage: imaging/bench/bench_probe.sh [WORK_FOLDER] [FILES_PER_FORMAT] [ROUNDS]
# Needs python3, ImageMagick's convert, node and npm (image-size is installed
# into WORK_FOLDER only). The work folder is left in place for another look.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(realpath -m "${1:-${TMPDIR:-/tmp}/ear-bench-probe}")
per_format=${2:-400}
rounds=${3:-9}
mkdir -p "$work"

echo "== build bench_probe (native preset)"
(cd "$root" && cmake --preset native >/dev/null && cmake --build --preset native --target bench_probe >/dev/null)
bench="$root/build/native/imaging/bench_probe"

echo "== corpus: $per_format files of each of the eight formats"
rm -rf "$work/seeds" "$work/corpus"
python3 "$root/imaging/fixtures/make_fixtures.py" "$work/seeds"
python3 - "$work" "$per_format" <<'PY'
import os, shutil, sys
work, per_format = sys.argv[1], int(sys.argv[2])
seeds, corpus = os.path.join(work, "seeds"), os.path.join(work, "corpus")
os.makedirs(corpus)
by_ext = {}
for line in open(os.path.join(seeds, "expected.tsv")):
    name, kind = line.split("\t")[:2]
    if kind == "size":
        ext = os.path.splitext(name)[1].lower().replace(".jpeg", ".jpg").replace(".tiff", ".tif")
        by_ext.setdefault(ext, []).append(name)
lists = {"all": [], "common": []}
for ext, names in sorted(by_ext.items()):
    for i in range(per_format):
        target = os.path.join(corpus, f"{ext[1:]}_{i:04d}_{names[i % len(names)]}")
        shutil.copyfile(os.path.join(seeds, names[i % len(names)]), target)
        lists["all"].append(target)
        if ext not in (".wmf", ".emf"):  # image-size knows neither metafile format
            lists["common"].append(target)
for key, files in lists.items():
    with open(os.path.join(work, key + ".txt"), "w") as f:
        f.write("\n".join(files) + "\n")
print(f"{len(lists['all'])} files ({len(lists['common'])} in the six formats image-size reads), "
      f"{sum(os.path.getsize(p) for p in lists['all']) // 1024} KiB")
PY

echo "== image-size from npm, into $work/node"
if [ ! -d "$work/node/node_modules/image-size" ]; then
  mkdir -p "$work/node"
  (cd "$work/node" && npm install --no-audit --no-fund --silent image-size >/dev/null)
fi
echo "image-size $(node -p "require('$work/node/node_modules/image-size/package.json').version"), node $(node --version)"

# The new corpus is written back to disk first, then read into the page cache, so
# that every contender reads from memory and no write-back runs meanwhile.
sync
cat $(cat "$work/all.txt") >/dev/null
"$bench" "$work/all.txt" 3 >/dev/null
node "$root/imaging/bench/bench_image_size.js" "$work/node" "$work/common.txt" 2 >/dev/null

echo "== six formats (bmp jpg gif png psd tif), $rounds rounds, the fastest round of each 100-file chunk counts"
mapfile -t ours_floor < <("$bench" "$work/common.txt" "$rounds"); printf '%s\n' "${ours_floor[@]}"
isize=$(node "$root/imaging/bench/bench_image_size.js" "$work/node" "$work/common.txt" "$rounds"); echo "$isize"
ihead=$(node "$root/imaging/bench/bench_image_size.js" "$work/node" "$work/common.txt" "$rounds" 4096); echo "$ihead"
echo "== all eight formats"
mapfile -t all < <("$bench" "$work/all.txt" "$rounds"); printf '%s\n' "${all[@]}"
echo "== each format: GetDimension, floor, floor / GetDimension"
best() { sed -E 's/.*best ([0-9]+) files.*/\1/' <<<"$1"; }
for ext in bmp jpg gif png psd tif wmf emf; do
  grep "/${ext}_" "$work/all.txt" >"$work/$ext.txt"
  mapfile -t one < <("$bench" "$work/$ext.txt" "$rounds")
  awk -v e="$ext" -v o="$(best "${one[0]}")" -v f="$(best "${one[1]}")" \
    'BEGIN { printf "%s\t%8d files/s\t%8d files/s\t%.2fx\n", e, o, f, f / o }'
done

echo "== ratios (best rounds)"
awk -v o="$(best "${ours_floor[0]}")" -v f="$(best "${ours_floor[1]}")" -v i="$(best "$isize")" \
    -v h="$(best "$ihead")" -v oa="$(best "${all[0]}")" -v fa="$(best "${all[1]}")" 'BEGIN {
  printf "GetDimension vs image-size:              %.1fx faster\n", o / i
  printf "GetDimension vs image-size (4 KiB head): %.1fx faster\n", o / h
  printf "floor vs GetDimension, six formats:      %.2fx (target <= 1.5)\n", f / o
  printf "floor vs GetDimension, eight formats:    %.2fx (target <= 1.5)\n", fa / oa
}'
