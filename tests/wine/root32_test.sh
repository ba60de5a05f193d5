#!/usr/bin/env bash
# The 32-bit rig's root (root32.sh): a command there runs on the root's i386 userland, finds the
# host's files at the same paths, starts in the same folder and hands back its exit code, as
# 32-bit Wine does for a Windows program; its mounts are seen by that command alone, never by
# the host, and nothing of them is left after a command that ends, fails or is killed.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
root=${EAR_I386_ROOT:-/var/lib/ear/i386-root}
fail=0
check() { if ! eval "$1"; then echo "FAILED: $2"; fail=1; fi; }
mounts_in_root() { awk -v r="$root" '$5 == r || index($5, r "/") == 1' "$1" | wc -l; }

work=$(mktemp -d "$EAR_WINE_STATE/root32-test.XXXXXX")
mkdir "$work/ro"
trap 'umount "$work/ro" 2>/dev/null; rm -rf "$work"' EXIT
echo from-host >"$work/in.txt"
out=$(cd "$work" && "$here/root32.sh" sh -c 'cat in.txt; dpkg --print-architecture; echo from-root >out.txt')
check '[ "$out" = "from-host
i386" ]' "the root reads the host's file from the starting folder and is i386: $out"
check '[ "$(cat "$work/out.txt" 2>/dev/null)" = from-root ]' "the host reads what the root wrote"

"$here/root32.sh" sh -c 'exit 7'
rc=$?
check '[ $rc = 7 ]' "a command's exit code comes back: $rc"
(cd "$work" && "$EAR_WINE" cmd /c exit 5)
rc=$?
check '[ $rc = 5 ]' "a Windows program's exit code comes back through 32-bit Wine: $rc"
(cd "$work" && "$EAR_WINE" cmd /c 'echo %PROCESSOR_ARCHITECTURE%>arch.txt')
check '[ "$(tr -d "\r\n" <"$work/arch.txt")" = x86 ]' "Wine runs as a 32-bit Windows: $(cat "$work/arch.txt" 2>/dev/null)"

"$here/root32.sh" sleep 60 &
pid=$!
for _ in $(seq 50); do [ "$(readlink "/proc/$pid/root")" = "$root" ] && break; sleep 0.1; done
# The command sees the mounts below its root (as /proc, /dev, /tmp...), in a namespace of its own.
inside=$(wc -l <"/proc/$pid/mountinfo")
host=$(mounts_in_root /proc/self/mountinfo)
check '[ "$inside" -ge 4 ] && [ "$host" = 0 ]' "the mounts are the command's own: $inside inside, $host in the host"
check '[ "$(readlink "/proc/$pid/ns/mnt")" != "$(readlink /proc/self/ns/mnt)" ]' "the command has a mount namespace of its own"
kill -9 "$pid"
wait "$pid" 2>/dev/null
check '[ "$(mounts_in_root /proc/self/mountinfo)" = 0 ]' "no mount is left after a killed command"
# A mount the host makes during a run (a read-only folder, say) reaches the Wine processes
# started after it once the Wine server, whose namespace is older, is started afresh too.
mount --bind "$work/ro" "$work/ro" && mount -o remount,ro,bind "$work/ro"
"$EAR_WINESERVER" -k
(cd "$work" && "$EAR_WINE" cmd /c 'echo x>ro\\new.txt' >/dev/null 2>&1)
(cd "$work" && "$EAR_WINE" cmd /c 'echo x>written.txt' >/dev/null 2>&1)
check '[ -e "$work/written.txt" ]' "the same command writes beside the read-only mount"
check '[ ! -e "$work/ro/new.txt" ]' "a read-only mount made before the server starts holds for 32-bit Wine"
umount "$work/ro"
check '[ ! -e "$work/ro/new.txt" ]' "nothing was written beneath the read-only mount"

[ $fail = 0 ] && echo "root32: passed"
exit $fail
