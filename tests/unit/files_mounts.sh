#!/bin/sh
# Prepares, or removes, the mounts the safe writer's tests use under ROOT:
#   ROOT/readonly  a read-only bind mount of ROOT/source, which holds old.bin
#   ROOT/tmpfs     an 8k tmpfs holding an empty "mounted" marker
#   ROOT/linked    setup_a.ini, a symbolic link to shared/setup_a.ini (no mount: made wherever the tests run)
# Mounting needs root; where it is refused nothing is mounted and the tests skip themselves.
usage() { echo "usage: $0 setup|cleanup ROOT" >&2; exit 2; }
[ $# -eq 2 ] || usage
root=$2

cleanup() {
  for m in "$root/readonly" "$root/tmpfs"; do
    if mountpoint -q "$m" 2>/dev/null; then umount "$m" || echo "cannot unmount $m" >&2; fi
  done
}

case $1 in
setup)
  cleanup
  mkdir -p "$root/source" "$root/readonly" "$root/tmpfs" || exit 1
  printf 'old bytes\r\n' >"$root/source/old.bin" || exit 1
  rm -rf "$root/linked" && mkdir -p "$root/linked/shared" || exit 1
  printf 'old bytes\r\n' >"$root/linked/shared/setup_a.ini" && ln -s shared/setup_a.ini "$root/linked/setup_a.ini" || exit 1
  if mount --bind "$root/source" "$root/readonly" 2>/dev/null; then
    mount -o remount,ro,bind "$root/readonly" 2>/dev/null || umount "$root/readonly"
  fi
  if mount -t tmpfs -o size=8k tmpfs "$root/tmpfs" 2>/dev/null; then
    : >"$root/tmpfs/mounted"
  fi
  mountpoint -q "$root/readonly" || echo "read-only bind mount refused: its test will skip"
  mountpoint -q "$root/tmpfs" || echo "tmpfs mount refused: its test will skip"
  ;;
cleanup) cleanup ;;
*) usage ;;
esac
exit 0
