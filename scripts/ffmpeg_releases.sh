#!/usr/bin/env bash
# Makes, once per machine, minimal Debian roots that hold other FFmpeg releases than the host's,
# and in each a wrapper that runs that root's ffmpeg on this system's files. Later runs reuse them.
#
#   scripts/ffmpeg_releases.sh [SUITE...]   (default: Debian 11, 12, 13 and unstable but the
#                                            host's own; needs root)
#
# Prints one line per release that is ready, "<suite> <ffmpeg version> <wrapper>", on the last
# lines of its output. A release that cannot be made is reported and left out; the script fails
# only when a stable release cannot be made.
set -euo pipefail

cache=${QUELVANE_CACHE:-/var/cache/quelvane}/ffmpeg-releases
suites=("$@")
if [ ${#suites[@]} -eq 0 ]; then
  # Debian 11, 12, 13 and unstable, less the host's own release, whose FFmpeg is installed.
  host=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  for suite in bullseye bookworm trixie sid; do
    [ "$suite" = "$host" ] || suites+=("$suite")
  done
fi
# Bump when the recipe changes: a root made by another recipe is made anew.
recipe=2

say() { printf '[ffmpeg releases] %s\n' "$*" >&2; }

# The archive apt already uses here.
mirror=$(apt-cache policy 2>/dev/null |
  sed -n 's#^ *[0-9]\+ \(https\?://[^ ]*/debian\) [a-z-]*/main .*#\1#p' | head -1)
mirror=${mirror:-http://deb.debian.org/debian}

# Older releases' keys may have moved to the removed-keys ring on newer hosts.
keyring=$(mktemp)
trap 'rm -f "$keyring"' EXIT
cat /usr/share/keyrings/debian-archive-keyring.gpg \
  $(ls /usr/share/keyrings/debian-archive-removed-keys.gpg 2>/dev/null) >"$keyring"

# The wrapper starts the root's own dynamic loader on the root's libraries, so the release runs
# with exactly its own code, sees this system's paths unchanged and needs no privileges or mounts.
write_wrapper() {
  local root=$1 program=$2 loader
  loader=$(cd "$root" && ls usr/lib/x86_64-linux-gnu/ld-linux-x86-64.so.2 \
    lib/x86_64-linux-gnu/ld-linux-x86-64.so.2 2>/dev/null | head -1)
  # Every folder of the root that holds libraries: some are found through absolute run paths
  # (pulseaudio's) or the alternatives system (BLAS), which would otherwise point at the host.
  local libs
  libs=$(find "$root/usr/lib/x86_64-linux-gnu" "$root/lib/x86_64-linux-gnu" -name 'lib*.so*' \
    -printf '%h\n' 2>/dev/null | sort -u | paste -sd:)
  if "$root/$loader" --library-path "$libs" --list "$root/usr/bin/$program" |
    grep -E '=> (/|not found)' | grep -v "=> $root/"; then
    say "$program of $root needs libraries from outside its root"
    return 1
  fi
  cat >"$root/../$program" <<EOF
#!/bin/sh
exec "$root/$loader" --library-path "$libs" "$root/usr/bin/$program" "\$@"
EOF
  chmod 755 "$root/../$program"
}

# The milestones of debootstrap's and apt's output, as they come.
stages() {
  grep --line-buffered -E '^(I: (Retrieving Release|Found|Installing core|Unpacking required|Configuring required|Base system)|Need to get|Get:[0-9]*0 |Setting up ffmpeg)' |
    sed -u "s/^/[ffmpeg releases] $1:   /" >&2 || true
}

make_root() {
  local suite=$1 dir=$cache/$1
  local root=$dir/root
  rm -rf "$dir"
  mkdir -p "$dir"
  say "$suite: making a minimal Debian root from $mirror (a few minutes, once per machine)"
  if ! debootstrap --variant=minbase --keyring="$keyring" "$suite" "$root" "$mirror" 2>&1 |
    tee "$dir/debootstrap.log" | stages "$suite"; then
    say "$suite: debootstrap failed; the end of its log:"
    tail -n 15 "$dir/debootstrap.log" >&2
    return 1
  fi
  say "$suite: installing ffmpeg"
  if ! chroot "$root" env DEBIAN_FRONTEND=noninteractive LC_ALL=C \
    apt-get install -y -q --no-install-recommends ffmpeg 2>&1 | tee "$dir/apt.log" |
    stages "$suite"; then
    say "$suite: installing ffmpeg failed; the end of its log:"
    tail -n 15 "$dir/apt.log" >&2
    return 1
  fi
  chroot "$root" apt-get clean
  # Absolute links (the alternatives system makes some) must point into the root, not the host.
  local link
  find "$root" -xdev -type l -lname '/*' -print0 | while IFS= read -r -d '' link; do
    ln -sfn "$(realpath -s -m --relative-to="$(dirname "$link")" "$root$(readlink "$link")")" "$link"
  done
  write_wrapper "$root" ffmpeg || return 1
  write_wrapper "$root" ffprobe || return 1
  local version
  version=$("$dir/ffmpeg" -hide_banner -version | sed -n '1s/^ffmpeg version \([^ ]*\).*/\1/p')
  [ -n "$version" ] || { say "$suite: the root's ffmpeg does not run"; return 1; }
  printf 'recipe=%s\nversion=%s\nmade=%s\n' "$recipe" "$version" "$(date -u +%F)" >"$dir/ready"
  say "$suite: ready, FFmpeg $version"
}

mkdir -p "$cache"
exec 9>"$cache/.lock"
flock 9

ready=()
failed_stable=()
for suite in "${suites[@]}"; do
  dir=$cache/$suite
  if [ -f "$dir/ready" ] && grep -qx "recipe=$recipe" "$dir/ready" && "$dir/ffmpeg" -version >/dev/null 2>&1; then
    say "$suite: reusing the root made $(sed -n 's/^made=//p' "$dir/ready") in $dir"
  elif [ "$(id -u)" -ne 0 ]; then
    say "$suite: not made: making a root needs root"
    continue
  elif ! make_root "$suite"; then
    rm -rf "$dir/root"
    if [ "$suite" = sid ]; then
      say "!!! Debian unstable's root could not be made today: its FFmpeg is NOT tested !!!"
    else
      failed_stable+=("$suite")
    fi
    continue
  fi
  ready+=("$suite $(sed -n 's/^version=//p' "$dir/ready") $dir/ffmpeg")
done

printf '%s\n' "${ready[@]}"
if [ ${#failed_stable[@]} -gt 0 ]; then
  say "could not make: ${failed_stable[*]}"
  exit 1
fi
