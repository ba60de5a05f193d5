#!/usr/bin/env bash
# Runs a command inside the 32-bit Debian root that scripts/install-deps.sh makes (32-bit Wine
# runs there; the host stays 64-bit only), in a mount namespace of its own. /proc and /dev (with
# /dev/pts and /dev/shm) are bound into the root, and so are, at the same paths, /tmp (with the
# X display's socket), the source tree, the run's state folder, the build folder and the
# starting folder: a path names the same file inside and out. The mounts exist in that
# namespace only: they go with its last process (the Wine server, which stop.sh ends), whether
# the run ends or fails, and the host never sees them.
#   root32.sh COMMAND [ARGS...]        the command starts in the current folder
# EAR_I386_ROOT names the root (default /var/lib/ear/i386-root); EAR_ROOT32_BARE=1 binds /proc
# and /dev only (for installing into the root).
set -eu
root=${EAR_I386_ROOT:-/var/lib/ear/i386-root}
if [ "${1:-}" != --inside ]; then
  if [ -z "${EAR_ROOT32_BARE:-}" ] && [ ! -f "$root/.ear-ready" ]; then
    echo "root32.sh: no 32-bit root at $root: run scripts/install-deps.sh" >&2
    exit 127
  fi
  exec unshare --mount --propagation private -- "$0" --inside "$PWD" "$@"
fi
shift
cwd=$1
shift
mount --rbind /proc "$root/proc"
mount --rbind /dev "$root/dev"
if [ -z "${EAR_ROOT32_BARE:-}" ]; then
  here=$(cd "$(dirname "$0")" && pwd)
  bound=()
  # Parents before children; a folder inside one already bound comes with it.
  while IFS= read -r dir; do
    for b in "${bound[@]}"; do
      case "$dir/" in "$b"/*) continue 2 ;; esac
    done
    mkdir -p "$root$dir"
    mount --rbind "$dir" "$root$dir"
    bound+=("$dir")
  done < <(for d in /tmp "$(cd "$here/../.." && pwd)" "${EAR_WINE_STATE:-}" "${EAR_BUILD_DIR:-}" "$cwd"; do
             [ -n "$d" ] && [ -d "$d" ] && realpath -s "$d"
           done | grep -vx / | awk '{ print length($0) "\t" $0 }' | sort -n | cut -f2- | uniq)
fi
exec chroot "$root" /bin/sh -c 'cd "$0" 2>/dev/null || cd /; exec "$@"' "$cwd" "$@"
