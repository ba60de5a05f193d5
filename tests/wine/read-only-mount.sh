# Sourced after wine-env.sh: a new temp folder seen read-only through a bind mount, for tests of
# writes that must fail (Wine run as root writes files with the read-only attribute; it cannot
# write through a read-only mount). Sets ro_source (the folder, writable) and ro_view (the same
# folder, read-only), with ro_source_win and ro_view_win as Wine names them; the mount and the
# folder go when the script exits, however it exits.
ro_work=$(mktemp -d "${TMPDIR:-/tmp}/ear-read-only.XXXXXX")
ro_source=$ro_work/source
ro_view=$ro_work/view
mkdir "$ro_source" "$ro_view"
ro_cleanup() {
  if mountpoint -q "$ro_view"; then
    umount "$ro_view" 2>/dev/null || umount -l "$ro_view"
  fi
  # Nothing is removed while the view might still be mounted.
  mountpoint -q "$ro_view" || rm -rf "$ro_work"
}
trap ro_cleanup EXIT
mount --bind "$ro_source" "$ro_view" || { echo "cannot bind-mount $ro_view (run as root)"; exit 1; }
mount -o remount,bind,ro "$ro_view" || { echo "cannot make $ro_view read-only"; exit 1; }
ro_source_win="Z:${ro_source//\//\\}"
ro_view_win="Z:${ro_view//\//\\}"
