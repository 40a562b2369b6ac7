#!/bin/sh
# Makes a copy of the test prefix whose screen has another density, once: Wine then tells a
# program aware of it the dots per inch given, and its desktop is large enough for the window.
# Usage: make-dpi-prefix.sh BASE_PREFIX PREFIX DPI
set -eu
base=$1
prefix=$2
dpi=$3
stamp="$prefix/tanu-dpi"
wanted="$dpi $(cksum <"$base/tanu-fonts.reg")"
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$wanted" ]; then
    exit 0
fi
rm -rf "$prefix"
cp -a "$base" "$prefix"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
wine reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 2560x1600 /f >/dev/null
# The registry reaches the disk when the server ends.
wineserver --wait
echo "$wanted" >"$stamp"
