#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, and unpacks the pinned
# libjpeg-turbo source the Windows builds compile; does nothing that is already done.
# Never pulls i386/wine32 packages into the host (the 32-bit Wine lives in a root of its own,
# below), and never upgrades what is installed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
packages=(
  cmake g++ make python3 libgtest-dev googletest libjpeg-dev zlib1g-dev libz-mingw-w64-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
  wine64 xvfb xauth debootstrap xdotool x11-utils imagemagick fonts-ipafont-gothic locales dpkg-dev patch xz-utils
  chromium  # renders earcheck's report page in the end-to-end tests (headless)
  python3-websocket  # their connection to it (tests/e2e/browser.py)
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # --no-upgrade: a package that is already there stays at its version.
  apt-get install -y -qq --no-install-recommends --no-upgrade "${missing[@]}"
fi
# The ANSI code page under Wine follows the locale: ja_JP gives code page 932; en_US is for
# the tests that prove drawing does not follow the code page. Both are listed in
# /etc/locale.gen, because any later locale-gen rebuilds the locale archive from that list only.
for loc in ja_JP en_US; do
  line="$loc.UTF-8 UTF-8"
  grep -qx "$line" /etc/locale.gen 2>/dev/null || echo "$line" >>/etc/locale.gen
  if ! locale -a 2>/dev/null | grep -qi "^$loc\.utf-\?8\$"; then
    localedef -i "$loc" -f UTF-8 "$loc.UTF-8"
  fi
done

# libjpeg-turbo for the Windows builds: Debian 12's source package, pinned and checked,
# unpacked with Debian's patches into third_party/libjpeg-turbo/src (third_party/CMakeLists.txt
# looks there).
jpeg_version=1:2.1.5-2
jpeg_orig=libjpeg-turbo_2.1.5.orig.tar.gz
jpeg_orig_sha256=254f3642b04e309fee775123133c6464181addc150499561020312ec61c1bf7c
jpeg_debian=libjpeg-turbo_2.1.5-2.debian.tar.xz
jpeg_debian_sha256=cdb2433c2f7101345c1ffa14efb943787c675b86354691a32490845fe4bc9237
jpeg_dir=$root/third_party/libjpeg-turbo
jpeg_src=$jpeg_dir/src

fail() { echo "install-deps: $*" >&2; exit 1; }

add_deb_src() {
  grep -qsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/*.sources \
    /etc/apt/sources.list.d/*.list && return 0
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
      >/etc/apt/sources.list.d/debian-src.sources
  else
    # One-line format: the same archives as the deb lines.
    grep -hE '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' >/etc/apt/sources.list.d/debian-src.list
  fi
  apt-get update -qq
}

check_sha256() {  # file, expected
  local got
  got=$(sha256sum "$1" | cut -d' ' -f1)
  [ "$got" = "$2" ] || fail "$(basename "$1"): SHA-256 $got, expected $2"
}

fetch_jpeg_source() {
  mkdir -p "$jpeg_dir"
  if [ ! -f "$jpeg_dir/$jpeg_orig" ] || [ ! -f "$jpeg_dir/$jpeg_debian" ]; then
    add_deb_src
    local work
    work=$(mktemp -d)
    chmod 755 "$work"
    chown _apt "$work" 2>/dev/null || true  # apt downloads as its own user
    if ! (cd "$work" && apt-get source --download-only -qq "libjpeg-turbo=$jpeg_version"); then
      apt-get update -qq  # lists may predate the deb-src entry
      (cd "$work" && apt-get source --download-only -qq "libjpeg-turbo=$jpeg_version") ||
        fail "apt-get source libjpeg-turbo=$jpeg_version failed (is the version still served?)"
    fi
    mv "$work/$jpeg_orig" "$work/$jpeg_debian" "$jpeg_dir/"
    rm -rf "$work"
  fi
  check_sha256 "$jpeg_dir/$jpeg_orig" "$jpeg_orig_sha256"
  check_sha256 "$jpeg_dir/$jpeg_debian" "$jpeg_debian_sha256"

  local tmp=$jpeg_dir/unpack.tmp p
  rm -rf "$tmp"
  mkdir -p "$tmp/src"
  tar -xf "$jpeg_dir/$jpeg_orig" -C "$tmp/src" --strip-components=1
  tar -xf "$jpeg_dir/$jpeg_debian" -C "$tmp"
  while read -r p; do
    case "$p" in ''|'#'*) continue ;; esac
    patch -d "$tmp/src" -p1 -s -N <"$tmp/debian/patches/$p" >"$tmp/patch.log" 2>&1 ||
      fail "Debian patch $p does not apply to libjpeg-turbo $jpeg_version:
$(cat "$tmp/patch.log")"
  done <"$tmp/debian/patches/series"
  echo "$jpeg_version" >"$tmp/src/.ear-debian-version"
  rm -rf "$jpeg_src"
  mv "$tmp/src" "$jpeg_src"
  rm -rf "$tmp"
  echo "libjpeg-turbo $jpeg_version source in $jpeg_src"
}

if [ "$(cat "$jpeg_src/.ear-debian-version" 2>/dev/null)" != "$jpeg_version" ]; then
  fetch_jpeg_source
fi

# The 32-bit rig: a Debian i386 root with 32-bit Wine, the rig's fonts and locales, installed by
# the root's own apt, where tests/wine/root32.sh runs the win32 build's tests. The host's own
# package set stays 64-bit. Made once and kept (outside the source tree, so every clone on this
# machine shares it); its marker, written last, names what is in it, so a half-made root is
# made again and a longer package list is installed into the root that is there.
i386_root=${EAR_I386_ROOT:-/var/lib/ear/i386-root}
i386_packages=(wine wine32 fonts-ipafont-gothic locales)
i386_locales=(ja_JP en_US)
i386_marker=$i386_root/.ear-ready
i386_want="packages: ${i386_packages[*]}; locales: ${i386_locales[*]}"

debian_mirror() {  # the archive this machine's apt installs bookworm from
  local uri
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    uri=$(awk -v RS= '/(^|\n)Suites:([^\n]* )?bookworm( |\n|$)/ && /(^|\n)Types:[^\n]*deb( |\n|$)/' \
            /etc/apt/sources.list.d/debian.sources | awk '/^URIs:/ { print $2; exit }')
  fi
  if [ -z "${uri:-}" ]; then
    uri=$(grep -hE '^deb ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
            sed 's/\[[^]]*\] //' | awk '$3 == "bookworm" { print $2; exit }')
  fi
  [ -n "${uri:-}" ] || fail "no bookworm archive in this machine's apt sources"
  echo "$uri"
}

no_mounts_in() {  # a folder that holds a mount (a bound /work, say) is never deleted
  ! awk -v r="$1" '$5 == r || index($5, r "/") == 1 { found = 1 } END { exit !found }' /proc/self/mountinfo
}

remove_tree() {
  [ -e "$1" ] || return 0
  no_mounts_in "$1" || fail "$1 holds mounts; not deleting it (see findmnt)"
  rm -rf --one-file-system "$1"
}

in_i386_root() { EAR_ROOT32_BARE=1 EAR_I386_ROOT=$i386_root "$root/tests/wine/root32.sh" "$@"; }

debootstrap_i386_root() {
  local mirror start
  mirror=$(debian_mirror)
  remove_tree "$i386_root.new"
  remove_tree "$i386_root"
  mkdir -p "$(dirname "$i386_root")"
  start=$SECONDS
  debootstrap --arch=i386 --variant=minbase bookworm "$i386_root.new" "$mirror" >"$i386_root.debootstrap.log" 2>&1 ||
    fail "debootstrap of the 32-bit root failed: see $i386_root.debootstrap.log"
  mv "$i386_root.new" "$i386_root"  # only a finished debootstrap is ever at the root's place
  echo "32-bit root made in $((SECONDS - start)) s"
}

install_in_i386_root() {
  local f start loc
  # The root fetches from the same archives, the same way, as the host's apt.
  rm -f "$i386_root/etc/apt/sources.list"
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] && ! grep -qsE '^(Types:.*deb-src|deb-src )' "$f" && cp "$f" "$i386_root$f"
  done
  for f in /etc/apt/apt.conf.d/*; do
    grep -qs '^Acquire::' "$f" && cp "$f" "$i386_root$f"
  done
  cp /etc/resolv.conf "$i386_root/etc/resolv.conf" 2>/dev/null || true
  # No package starts a service inside the root.
  printf '#!/bin/sh\nexit 101\n' >"$i386_root/usr/sbin/policy-rc.d"
  chmod 755 "$i386_root/usr/sbin/policy-rc.d"
  start=$SECONDS
  in_i386_root sh -c 'dpkg --configure -a && apt-get update -qq &&
      DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@" >/dev/null &&
      apt-get clean' sh "${i386_packages[@]}" || return 1
  for loc in "${i386_locales[@]}"; do
    grep -qx "$loc.UTF-8 UTF-8" "$i386_root/etc/locale.gen" || echo "$loc.UTF-8 UTF-8" >>"$i386_root/etc/locale.gen"
  done
  in_i386_root locale-gen >/dev/null || return 1
  echo "installed into the 32-bit root in $((SECONDS - start)) s"
}

make_i386_root() {
  [ "$(cat "$i386_marker" 2>/dev/null)" = "$i386_want" ] && return 0
  exec 8>"$i386_root.lock"
  flock 8  # one maker at a time; the others find it made
  [ "$(cat "$i386_marker" 2>/dev/null)" = "$i386_want" ] && { exec 8>&-; return 0; }
  [ -d "$i386_root" ] || debootstrap_i386_root
  rm -f "$i386_marker"
  if ! install_in_i386_root; then
    echo "install-deps: installing into the 32-bit root failed; making it again" >&2
    debootstrap_i386_root
    install_in_i386_root || fail "installing ${i386_packages[*]} into the 32-bit root failed"
  fi
  echo "$i386_want" >"$i386_marker.tmp"
  mv "$i386_marker.tmp" "$i386_marker"
  exec 8>&-
}
mkdir -p "$(dirname "$i386_root")"
make_i386_root
echo "dependencies ready"
