#!/bin/sh
# Linker launcher of the shipped executables (see ear_ship in cmake/Ear.cmake):
#   link-stripped.sh STRIP SYMBOLS_DIR LINK_COMMAND...
# links, keeps a copy with symbols in SYMBOLS_DIR (for debuggers), strips the output.
strip=$1 symbols=$2
shift 2
"$@" || exit
out= prev=
for a in "$@"; do
  [ "$prev" = -o ] && out=$a
  prev=$a
done
[ -n "$out" ] || { echo "link-stripped.sh: no -o in the link command" >&2; exit 1; }
# strip stamps the PE header with the time (or SOURCE_DATE_EPOCH): 0, as the link leaves it,
# so that a build is the same bytes whenever it is made.
mkdir -p "$symbols" && cp "$out" "$symbols/" && SOURCE_DATE_EPOCH=0 "$strip" --strip-all "$out"
