#!/bin/sh
# The MSI package under Wine, as school IT would use it: a silent install puts the program, its
# pictures, the file type and the Apps & features entry in place; a double-clicked profile opens
# in TANU; a newer package replaces the older one; a silent uninstall removes all it installed
# and leaves a school's own pictures. Runs in a copy of the test prefix, inside a display.
# Usage: msi-test.sh PREFIX MSI READER_EXE
set -eu
template=$1
msi=$2
reader=$3
work=$(mktemp -d)
trap 'WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
cp -a "$template" "$work/prefix"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
drive="$WINEPREFIX/drive_c"
installed="$drive/Program Files/TANU"
fail() { printf 'FAIL: %s\n' "$*" >&2; exit 1; }
# wine's own console output has CR LF line ends.
query() { wine reg query "$@" 2>/dev/null | tr -d '\r'; }
# printf, not echo: the registry's Windows paths hold backslashes, and sh's echo reads "\c" in
# "Z:\tmp\ci..." as the end of its output.
say() { printf '%s\n' "$*"; }
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
# The Apps & features entries of TANU, one line each with its details.
entries() {
    for key in $(query "$uninstall_key" | grep -o '{[0-9A-F-]*}'); do
        details=$(query "$uninstall_key\\$key" | tr '\n' ' ')
        case "$details" in *"DisplayName    REG_SZ    TANU "*) say "$key $details" ;; esac
    done
}

wine msiexec /i "$(winepath -w "$msi")" /qn || fail "install"
[ -f "$installed/tanu.exe" ] || fail "no tanu.exe"
[ "$(ls "$installed/data" | wc -l)" -eq "$(ls "$(dirname "$0")/../../data" | wc -l)" ] ||
    fail "not every picture"
query 'HKCR\.tanu' | grep -q 'REG_SZ *TANU.Profile' || fail ".tanu is not a TANU profile"
query 'HKCR\TANU.Profile' | grep -q 'REG_SZ *TANU profile' || fail "no description"
query 'HKCR\TANU.Profile\shell\open\command' |
    grep -qF '"C:\Program Files\TANU\tanu.exe" "%1"' || fail "no open verb"
query 'HKCR\TANU.Profile\DefaultIcon' | grep -qF '"C:\Program Files\TANU\tanu.exe",1' ||
    fail "no document icon"
details=$(entries)
[ -n "$details" ] || fail "no Apps & features entry"
for value in 'DisplayName *REG_SZ *TANU' 'Publisher *REG_SZ *The TANU developers' \
             'DisplayVersion *REG_SZ *1.0'; do
    say "$details" | grep -q "$value" || fail "Apps & features lacks $value: $details"
done
find "$drive" -name TANU.lnk | grep -q . || fail "no Start menu shortcut"

# A double click on a profile: Windows starts TANU with the file, which shows its values.
printf 'Anna Example\r\n2015/3/10\r\n2024/6/1\r\nMr Jones\r\n9\r\n0\r\n0\r\n7\r\n0\r\n0\r\n0\r\n0\r\n0\r\n8\r\n' \
    >"$drive/anna.tanu"
wine start 'C:\anna.tanu'
fields=$(wine "$reader" | tr -d '\r')
for field in '510 Anna Example' '511 2015/3/10' '512 2024/6/1' '513 Mr Jones' '500 9' '503 7' \
             '509 8' '501 '; do
    say "$fields" | grep -qx "$field" || fail "the opened profile shows no '$field': $fields"
done

# A newer package replaces the older one.
mkdir -p "$drive/ProgramData/TANU/data"
echo "a school's own picture" >"$drive/ProgramData/TANU/data/background.png"
sed 's/ Version="[0-9.]*"/ Version="99.0"/' "$(dirname "$msi")/src/shell/win32/tanu.wxs" \
    >"$work/newer.wxs"
(cd "$(dirname "$msi")" && wixl --arch x64 -o "$work/newer.msi" "$work/newer.wxs") ||
    fail "newer package"
wine msiexec /i "$(winepath -w "$work/newer.msi")" /qn || fail "upgrade"
[ "$(entries | wc -l)" -eq 1 ] || fail "not one TANU entry: $(entries)"
entries | grep -q 'DisplayVersion *REG_SZ *99.0' || fail "the newer version is not installed"

wine msiexec /x "$(winepath -w "$work/newer.msi")" /qn || fail "uninstall"
[ ! -e "$installed" ] || fail "files left: $(ls -R "$installed")"
! query 'HKCR\.tanu' | grep -q TANU || fail ".tanu still registered"
! query 'HKCR\TANU.Profile' | grep -q 'TANU profile' || fail "TANU.Profile still registered"
[ -z "$(entries)" ] || fail "Apps & features entry left"
[ -f "$drive/ProgramData/TANU/data/background.png" ] || fail "the school's picture is gone"
echo "MSI installed, opened a profile, upgraded and uninstalled cleanly"
