#!/usr/bin/env bash
# Unpacks Debian's libjpeg-turbo source (orig tarball, Debian patches applied) into DEST.
#   fetch-libjpeg-source.sh DEST
# Does nothing when DEST already holds the source. Needs root for the apt source entry.
set -eu
dest=$(realpath -m "$1")
if [ -f "$dest/CMakeLists.txt" ]; then
  exit 0
fi

src_list=/etc/apt/sources.list.d/debian-src.sources
if ! grep -qsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list.d/*.sources /etc/apt/sources.list \
     /etc/apt/sources.list.d/*.list 2>/dev/null; then
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources >"$src_list"
  else
    # One-line format: the same archives as the deb lines.
    grep -hE '^deb ' /etc/apt/sources.list 2>/dev/null | sed 's/^deb /deb-src /' \
      >/etc/apt/sources.list.d/debian-src.list
  fi
  apt-get update -qq
elif ! ls /var/lib/apt/lists/*_source_Sources* >/dev/null 2>&1; then
  apt-get update -qq
fi

work=$(mktemp -d)
chmod 755 "$work"  # apt downloads as its own user
trap 'rm -rf "$work"' EXIT
(cd "$work" && apt-get source --download-only -qq libjpeg-turbo) || {
  # Lists may be stale after the entry was added by someone else.
  apt-get update -qq
  (cd "$work" && apt-get source --download-only -qq libjpeg-turbo)
}
orig=$(ls "$work"/libjpeg-turbo_*.orig.tar.* | head -n1)
mkdir -p "$work/src"
tar -xf "$orig" -C "$work/src" --strip-components=1
debtar=$(ls "$work"/libjpeg-turbo_*.debian.tar.* 2>/dev/null | head -n1 || true)
if [ -n "$debtar" ]; then
  tar -xf "$debtar" -C "$work"
  if [ -f "$work/debian/patches/series" ]; then
    while read -r p; do
      case "$p" in ''|'#'*) continue ;; esac
      patch -d "$work/src" -p1 -s -N <"$work/debian/patches/$p" || echo "skipped patch $p" >&2
    done <"$work/debian/patches/series"
  fi
fi
mkdir -p "$(dirname "$dest")"
rm -rf "$dest.tmp"
mv "$work/src" "$dest.tmp"
mv "$dest.tmp" "$dest"
echo "libjpeg-turbo source in $dest"
