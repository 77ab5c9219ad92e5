#!/usr/bin/env bash
# Runs the README's two set-up commands on Debian 13 as on a fresh machine: in a minimal Debian 13
# root (made once, kept under /var/cache/quelvane/debian13-check) with /proc, /dev and /sys
# mounted, on a clone of this repository's HEAD. Needs root.
#
#   scripts/debian13_check.sh          both commands; the program runs 20 s on Qt's offscreen
#                                      platform, then is ended
#   scripts/debian13_check.sh --fresh  the same in a new root, without the caches of earlier checks
set -euo pipefail
cd "$(dirname "$0")/.."

base=${QUELVANE_CACHE:-/var/cache/quelvane}/debian13-check
root=$base/root
say() { printf '[debian 13 check] %s\n' "$*" >&2; }

[ "$(id -u)" -eq 0 ] || { say "needs root (debootstrap, chroot, mounts)"; exit 1; }
if [ "${1:-}" = --fresh ]; then
  rm -rf "$base"
fi

mirror=$(apt-cache policy 2>/dev/null |
  sed -n 's#^ *[0-9]\+ \(https\?://[^ ]*/debian\) [a-z-]*/main .*#\1#p' | head -1)
mirror=${mirror:-http://deb.debian.org/debian}
if [ ! -f "$base/ready" ]; then
  rm -rf "$root"
  mkdir -p "$base"
  say "making a Debian 13 root from $mirror"
  debootstrap --variant=minbase --include=ca-certificates trixie "$root" "$mirror" >"$base/debootstrap.log" 2>&1 ||
    { tail -n 15 "$base/debootstrap.log" >&2; exit 1; }
  touch "$base/ready"
else
  say "reusing the Debian 13 root in $root (--fresh for a new one)"
fi

mounts=()
cleanup() {
  local i
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do umount -l "${mounts[i]}" 2>/dev/null || true; done
}
trap cleanup EXIT
mount_in() { # type-or-bind source target
  mkdir -p "$root$3"
  if [ "$1" = bind ]; then mount --rbind "$2" "$root$3"; else mount -t "$1" "$2" "$root$3"; fi
  mounts+=("$root$3")
}
mount_in proc proc /proc
mount_in sysfs sys /sys
mount_in bind /dev /dev
mount_in tmpfs tmpfs /tmp
cp /etc/resolv.conf "$root/etc/resolv.conf"

# The repository as committed, as a new machine would clone it.
rm -rf "$root/work"
mkdir -p "$root/work"
git clone -q . "$root/work/quelvane"

status=0
say "test command: ./scripts/test.sh"
if chroot "$root" env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin TERM=dumb CI=true \
  bash -c 'cd /work/quelvane && ./scripts/test.sh' >"$base/test.log" 2>&1; then
  say "test command passed ($(grep -a 'tests passed' "$base/test.log" | tail -1))"
else
  say "test command FAILED; the end of $base/test.log:"
  tail -n 30 "$base/test.log" >&2
  status=1
fi

say "program command: ./scripts/run.sh (ended after 20 s)"
chroot "$root" env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin QT_QPA_PLATFORM=offscreen \
  bash -c 'cd /work/quelvane && timeout 20 ./scripts/run.sh' >"$base/run.log" 2>&1 || run=$?
if [ "${run:-0}" -eq 124 ]; then
  say "program command built and started the program; it ran until ended"
else
  say "program command FAILED (status ${run:-0}); the end of $base/run.log:"
  tail -n 30 "$base/run.log" >&2
  status=1
fi
exit $status
