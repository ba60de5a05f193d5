#!/usr/bin/env bash
# Builds the release of the checked-out commit: both Windows configurations (win64, win32),
# each in a fresh build folder (build/release-<preset>), without the compiler cache, and writes
#   dist/ExamAutoRunner-<version>-win64.zip, dist/ExamAutoRunner-<version>-win32.zip
#   dist/SHA256SUMS
# (scripts/make_release.py packs them). The version is the top CMakeLists.txt's. The same
# commit gives the same bytes wherever and whenever it is built: the times inside the zips
# are the commit's (SOURCE_DATE_EPOCH; taken from git unless set), tests/release/ checks it.
# A tree with uncommitted changes is refused (EAR_RELEASE_ALLOW_DIRTY=1 builds it anyway,
# for trying the script out): a release names a commit.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${EAR_JOBS:-2}

version=$(sed -n 's/^project(ExamAutoRunner VERSION \([0-9]*\.[0-9]*\.[0-9]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "release.sh: no project(ExamAutoRunner VERSION x.y.z) in CMakeLists.txt" >&2; exit 1; }

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  if [ -n "$(git status --porcelain --untracked-files=normal)" ] && [ "${EAR_RELEASE_ALLOW_DIRTY:-0}" != 1 ]; then
    echo "release.sh: the tree has uncommitted changes; commit them first (EAR_RELEASE_ALLOW_DIRTY=1 to try anyway)" >&2
    git status --short >&2
    exit 1
  fi
  : "${SOURCE_DATE_EPOCH:=$(git log -1 --format=%ct)}"
fi
[ -n "${SOURCE_DATE_EPOCH:-}" ] || { echo "release.sh: not a git tree: set SOURCE_DATE_EPOCH to the commit's time" >&2; exit 1; }
export SOURCE_DATE_EPOCH

# The compiler alone: a cached object may come from another folder's compile.
export CCACHE_DISABLE=1
unset CMAKE_C_COMPILER_LAUNCHER CMAKE_CXX_COMPILER_LAUNCHER
# Nothing of the builder's locale or time zone reaches the files.
export LC_ALL=C.UTF-8 TZ=UTC

mkdir -p build
args=()
for preset in win64 win32; do
  dir=build/release-$preset
  rm -rf "$dir"
  echo "== $preset: configure and build in $dir" >&2
  cmake --preset "$preset" -B "$dir" -DEAR_TESTS=OFF >"$dir.configure.log" 2>&1 ||
    { tail -n 30 "$dir.configure.log" >&2; exit 1; }
  cmake --build "$dir" -j "$jobs" --target ExamAutoRunner earcheck >"$dir.build.log" 2>&1 ||
    { tail -n 30 "$dir.build.log" >&2; exit 1; }
  args+=(--build "$preset=$dir")
done

rm -rf dist
python3 scripts/make_release.py --version "$version" --epoch "$SOURCE_DATE_EPOCH" --out dist "${args[@]}"
