#!/usr/bin/env bash
# The launcher directly in a drive's root folder: the package and the executable go, the
# root and everything else in it stay. A free drive letter of the Wine prefix maps a temp folder.
#   self_removal_root_test.sh STAND_IN_EXE
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../tests/wine/wine-env.sh"
stand_in=$1
source "$here/../tests/wine/map-drive.sh"
D=${drive^^}

cp "$stand_in" "$root/ExamAutoRunner.exe"
mkdir -p "$root/##TMP##/system/Image" "$root/keepdir"
echo x >"$root/##TMP##/system/system.ini"
echo x >"$root/##TMP##/system/Image/bg.jpg"
echo keep >"$root/keep.txt"
echo keep >"$root/keepdir/inner.txt"
before=$(cd "$root" && find . -path './##TMP##' -prune -o -print | grep -v '^./ExamAutoRunner.exe$' | sort)

# Started from another folder: Wine's cmd keeps the folder it starts in busy.
result="$root/../ear-sr-root-result.$$"
(cd /tmp && "$EAR_WINE" "$D:\\ExamAutoRunner.exe" "--result=Z:${result//\//\\}")
for _ in $(seq 150); do
  [ -e "$root/ExamAutoRunner.exe" ] || [ -e "$root/ExamAutoRunner.BAT" ] || break
  sleep 0.2
done
sleep 1

fail=0
check() { if ! eval "$1"; then echo "FAILED: $2"; fail=1; fi; }
check '[ "$(cat "$result" 2>/dev/null)" = closed ]' "the self-removal reports: $(cat "$result" 2>/dev/null)"
check '[ ! -e "$root/##TMP##" ]' "the package is gone"
check '[ ! -e "$root/ExamAutoRunner.exe" ]' "the executable is gone"
check '[ ! -e "$root/ExamAutoRunner.BAT" ]' "the batch deleted itself"
check '[ -d "$root" ]' "the root folder stays"
after=$(cd "$root" && find . | sort)
check '[ "$before" = "$after" ]' "everything else in the root stays: $after"
rm -f "$result"
[ $fail = 0 ] && echo "root folder: passed"
exit $fail
