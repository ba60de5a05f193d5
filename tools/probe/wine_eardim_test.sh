#!/usr/bin/env bash
# eardim.exe under Wine: Shift-JIS file names (one with a 0x5C second byte), the
# open error of a missing file and of a folder named like a picture, and a device
# named like a picture (NUL.jpg: read as empty, never waited on).
#   wine_eardim_test.sh RUNNER EARDIM_EXE
set -u
runner=$(realpath "$1")
exe=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
gif() { printf 'GIF89a%b%b\0\0\0;' "$1" "$2"; }
# Unix names are UTF-8; Wine hands them to the program as CP932.
gif '\x07\x00' '\x05\x00' >"ソフト.gif"
mkdir "表示"
gif '\x2C\x01' '\xC8\x00' >"表示/画像.GIF"
mkdir "folder.png"
"$runner" "$exe" "ソフト.gif" '表示\画像.GIF' missing.bmp folder.png NUL.jpg </dev/null >out.cp932
rc=$?
iconv -f CP932 -t UTF-8 out.cp932 >out.txt || { echo "FAIL: output is not CP932"; exit 1; }
failed=0
check() {  # check LINE_NUMBER PATTERN (an extended regex over the whole UTF-8 line)
  local line
  line=$(sed -n "${1}p" out.txt)
  if [[ "$line" =~ $2 ]]; then echo "ok   $line"; else echo "FAIL $line (wanted /$2/)"; failed=1; fi
}
check 1 '^ソフト\.gif	7	5$'
check 2 '^表示\\画像\.GIF	300	200$'
check 3 '^missing\.bmp	ファイル "[A-Z]:\\.*\\missing\.bmp"\. .+ を開けません$'
check 4 '^folder\.png	ファイル "[A-Z]:\\.*\\folder\.png"\. .+ を開けません$'
check 5 '^NUL\.jpg	NUL\.jpg \\n不正な JPG ファイルです。$'
[ "$rc" = 1 ] || { echo "FAIL exit code $rc, expected 1"; failed=1; }
[ "$failed" = 0 ] && echo "5 passed, 0 failed" || echo "some failed"
exit "$failed"
