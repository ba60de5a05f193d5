#!/usr/bin/env bash
# Installs what building and testing need on Debian 12; does nothing that is already done.
# Never pulls i386/wine32 packages, and never upgrades what is installed.
set -euo pipefail
packages=(
  cmake g++ make python3 libgtest-dev googletest libjpeg-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
  wine64 xvfb xauth xdotool x11-utils imagemagick fonts-ipafont-gothic locales dpkg-dev patch xz-utils
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
# The ANSI code page under Wine follows the locale: ja_JP gives code page 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
# A non-Japanese locale, for the tests that prove drawing does not follow the code page.
if ! locale -a 2>/dev/null | grep -qi '^en_US\.utf-\?8$'; then
  localedef -i en_US -f UTF-8 en_US.UTF-8
fi
# libjpeg-turbo's source for the Windows builds comes with the first configure
# (scripts/fetch-libjpeg-source.sh adds the deb-src entry it needs).
echo "dependencies ready"
