#!/usr/bin/env bash
# Checks the Windows installer under Wine, in a fresh prefix of its own: a silent install puts
# the program under Program Files with its Start menu entry and starts it (the program's first
# act is to run the tool at its place, here the fake tool, which logs the call), and the
# uninstaller takes it all away again.
# tests/check_windows_installer.sh SETUP.exe FAKE_TOOL.exe PREFIX
set -euo pipefail
[ $# -eq 3 ] || { echo "usage: $0 SETUP.exe FAKE_TOOL.exe PREFIX" >&2; exit 2; }
setup=$(realpath "$1")
fake_tool=$(realpath "$2")
export WINEPREFIX
WINEPREFIX=$(realpath -m "$3")
export WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
# The installed program has only the windows platform plugin: it needs a display.
if [ -z "${QUELVANE_ON_XVFB:-}" ]; then
  exec env QUELVANE_ON_XVFB=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

fail() { echo "FAIL: $*" >&2; exit 1; }
rm -rf "$WINEPREFIX"
trap 'wineserver -k 2>/dev/null || true' EXIT
wineboot --init >/dev/null 2>&1

drive_c=$WINEPREFIX/drive_c
mkdir -p "$drive_c/windows/quelvanesvc"
cp "$fake_tool" "$drive_c/windows/quelvanesvc/client.exe"
printf '[banner]\nout ffmpeg version 5.1\\n\n' >"$drive_c/banner.fake"
export QUELVANE_FAKE_SCRIPT='C:\banner.fake' QUELVANE_FAKE_LOG='C:\calls.log'

wine "$setup" /S
folder="$drive_c/Program Files/Quelvane"
for file in quelvane.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll platforms/qwindows.dll \
  README.txt licences/Qt-LGPL-3.txt uninstall.exe \
  "../../ProgramData/Microsoft/Windows/Start Menu/Programs/Quelvane.lnk"; do
  [ -f "$folder/$file" ] || fail "not installed: $file"
done
# The Windows style's plugin, whichever name this Qt gives it.
ls "$folder"/styles/*.dll >/dev/null 2>&1 || fail "not installed: the style plugin in styles/"
echo "installed: $(find "$folder" -type f | wc -l) files"

for _ in $(seq 120); do
  [ -s "$drive_c/calls.log" ] && break
  sleep 0.5
done
[ -s "$drive_c/calls.log" ] || fail "the program did not start (it never ran the tool)"
echo "the installed program started and ran the tool"

# The program runs on until closed; the uninstaller must not meet it.
wineserver -k
wineserver -w
wine "$folder/uninstall.exe" /S
wineserver -w # the uninstaller goes on in a copy of itself
[ ! -e "$folder" ] || fail "left behind: $(find "$folder" | head -5)"
[ ! -e "$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Quelvane.lnk" ] ||
  fail "the Start menu entry is left"
echo "uninstalled: the folder and the Start menu entry are gone"
