#!/bin/sh
# Makes the Wine prefix that the Windows tests run in, once: a prefix made with the same
# settings is kept and reused. Usage: make-wine-prefix.sh PREFIX
set -eu
prefix=$1
here=$(cd "$(dirname "$0")" && pwd)
stamp="$prefix/tanu-fonts.reg"

if [ -f "$stamp" ] && cmp -s "$here/fonts.reg" "$stamp"; then
    exit 0
fi
rm -rf "$prefix"
# No Mono or Gecko: nothing here needs them, and Wine would offer to download them.
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine wineboot --init
wine regedit "$here/fonts.reg"
# The registry reaches the disk when the server ends.
wineserver --wait
cp "$here/fonts.reg" "$stamp"
