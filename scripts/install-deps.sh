#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, and unpacks the pinned
# libjpeg-turbo source the Windows builds compile; does nothing that is already done.
# Never pulls i386/wine32 packages, and never upgrades what is installed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
packages=(
  cmake g++ make python3 libgtest-dev googletest libjpeg-dev zlib1g-dev libz-mingw-w64-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
  wine64 xvfb xauth xdotool x11-utils imagemagick fonts-ipafont-gothic locales dpkg-dev patch xz-utils
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
echo "dependencies ready"
