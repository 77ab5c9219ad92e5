#!/usr/bin/env bash
# Checks a built Debian package: what it holds, what it depends on, that its desktop entry and
# AppStream data validate, and that unpacking it into a scratch root puts everything in place.
# Usage: tests/check_package.sh path/to/quelvane_VERSION_ARCH.deb
set -euo pipefail
cd "$(dirname "$0")/.."

deb=${1:?usage: $0 package.deb}
app_id=org.quelvane.Quelvane
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

listing=$(dpkg-deb -c "$deb")
# One entry of the listing: permissions and path (and link target), without owner, size and date.
entry() { awk '{ $2 = $3 = $4 = $5 = ""; print }' <<<"$listing" | tr -s ' ' | grep -qxF -- "$1"; }

expected_icons=()
for icon in artwork/quelvane-*.png; do
  size=${icon##*-}
  size=${size%.png}
  expected_icons+=("usr/share/icons/hicolor/${size}x${size}/apps/quelvane.png")
done
[ ${#expected_icons[@]} -gt 0 ] || fail "no application icons found in artwork/"
expected_icons+=(usr/share/icons/hicolor/scalable/apps/quelvane.svg)

entry "-rwxr-xr-x ./usr/bin/quelvane" || fail "no executable /usr/bin/quelvane"
entry "lrwxrwxrwx ./usr/lib/quelvanesvc/client -> /usr/bin/ffmpeg" ||
  fail "no link /usr/lib/quelvanesvc/client -> /usr/bin/ffmpeg"
for file in usr/share/applications/$app_id.desktop usr/share/metainfo/$app_id.metainfo.xml \
  usr/share/doc/quelvane/copyright "${expected_icons[@]}"; do
  entry "-rw-r--r-- ./$file" || fail "no file /$file"
done

depends=$(dpkg-deb -f "$deb" Depends)
# Debian 13 names the Qt libraries' packages with "t64" (64-bit time).
for package in ffmpeg libqt6widgets6 'libqt6core6(t64)?'; do
  grep -qE "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"

[ "$(readlink "$root/usr/lib/quelvanesvc/client")" = /usr/bin/ffmpeg ] ||
  fail "the unpacked tool link does not point at /usr/bin/ffmpeg"
file -b "$root/usr/bin/quelvane" | grep -q '^ELF .* executable' ||
  fail "the unpacked /usr/bin/quelvane is no executable: $(file -b "$root/usr/bin/quelvane")"
for icon in "${expected_icons[@]}"; do
  [[ $icon == *.png ]] || continue
  size=$(sed -E 's|.*/([0-9]+)x[0-9]+/.*|\1|' <<<"$icon")
  file -b "$root/$icon" | grep -q "PNG image data, $size x $size," ||
    fail "/$icon is not a $size px picture: $(file -b "$root/$icon")"
done
grep -q '<svg' "$root/usr/share/icons/hicolor/scalable/apps/quelvane.svg" ||
  fail "the scalable icon is no SVG drawing"

desktop=$root/usr/share/applications/$app_id.desktop
metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
appstreamcli validate --no-net "$metainfo" >/dev/null ||
  fail "appstreamcli rejects the metainfo: $(appstreamcli validate --no-net "$metainfo")"

# The pieces must name each other: the menu starts the installed program with the installed icon,
# and the software centre finds the menu entry.
key() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(key Exec)" = quelvane ] || fail "the desktop entry starts '$(key Exec)', not quelvane"
[ "$(key Icon)" = quelvane ] || fail "the desktop entry shows icon '$(key Icon)', not quelvane"
[ "$(key Name)" = Quelvane ] || fail "the desktop entry is named '$(key Name)', not Quelvane"
grep -q "^Categories=AudioVideo;" "$desktop" || fail "the desktop entry is not in AudioVideo"
grep -qF "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
  fail "the metainfo does not launch $app_id.desktop"
grep -qF "<id>$app_id</id>" "$metainfo" || fail "the metainfo's id is not $app_id"
version=$(dpkg-deb -f "$deb" Version)
grep -qF "<release version=\"$version\"" "$metainfo" ||
  fail "the metainfo lists no release $version"

if [ "$failures" -gt 0 ]; then
  echo "$deb: $failures check(s) failed" >&2
  exit 1
fi
echo "$deb: package checks passed"
