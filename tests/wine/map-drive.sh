# Sourced after wine-env.sh: maps a free drive letter of the Wine prefix to a new temp folder,
# for tests of a launcher in a drive's root. Sets drive (lower case) and root; the mapping and
# the folder go when the script exits.
drive=
for letter in r s t u v w x y; do
  if [ ! -e "$WINEPREFIX/dosdevices/$letter:" ]; then drive=$letter; break; fi
done
[ -n "$drive" ] || { echo "no free drive letter"; exit 1; }
root=$(mktemp -d /tmp/ear-root.XXXXXX)
ln -s "$root" "$WINEPREFIX/dosdevices/$drive:"
trap 'rm -f "$WINEPREFIX/dosdevices/$drive:"; rm -rf "$root"' EXIT
