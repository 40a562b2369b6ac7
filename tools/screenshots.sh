#!/usr/bin/env bash
# Takes the README's pictures of TANU showing a sample profile: the Qt program at scale 1, 1.5
# and 2, and tanu.exe under Wine at 96, 144 and 192 dots per inch, into docs/. Needs the release
# and windows builds with their tests run once (for the Wine prefixes), and imagemagick,
# xdotool and openbox.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'Anna Example\r\n2015/3/10\r\n2024/6/1\r\nMr Jones\r\n9\r\n8\r\n10\r\n7\r\n11\r\n9\r\n6\r\n12\r\n10\r\n8\r\n' \
    >"$work/anna.tanu"

# Starts a virtual screen and waits until it takes clients.
start_screen() { # display
    Xvfb "$1" -screen 0 2560x1600x24 >/dev/null 2>&1 &
    until xdpyinfo -display "$1" >/dev/null 2>&1; do sleep 0.2; done
}

# Waits until a window of that name is mapped, then a moment for its first paints.
shot_window() { # display name file
    local id
    until id=$(DISPLAY=$1 xdotool search --onlyvisible --name "$2"); do sleep 0.2; done
    id=$(echo "$id" | head -n 1)
    sleep 2
    DISPLAY=$1 import -window "$id" "$3"
}

qt() { # scale file
    start_screen :91
    local server=$!
    DISPLAY=:91 openbox >/dev/null 2>&1 &
    local wm=$!
    # A window mapped before the window manager is up may stay unmapped.
    until DISPLAY=:91 xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window; do
        sleep 0.2
    done
    XDG_RUNTIME_DIR=$work DISPLAY=:91 QT_SCALE_FACTOR=$1 build/release/bin/tanu "$work/anna.tanu" &
    local app=$!
    shot_window :91 '^TANU$' "$2"
    kill $app $wm $server
    wait 2>/dev/null || true
}

wine_shot() { # display prefix file
    local display=$1
    shift
    start_screen "$display"
    local server=$!
    cp "$work/anna.tanu" "$1/drive_c/anna.tanu"
    DISPLAY=$display WINEPREFIX=$1 WINEDEBUG=-all wine build/windows/src/shell/win32/tanu.exe \
        'C:\anna.tanu' &
    shot_window "$display" 'Wine desktop' "$work/desktop.png"
    # The desktop's own colour around the window goes.
    convert "$work/desktop.png" -trim +repage "$2"
    WINEPREFIX=$1 wineserver -k
    kill $server
    wait 2>/dev/null || true
}

qt 1 docs/screenshot.png
qt 1.5 docs/screenshot-qt-150.png
qt 2 docs/screenshot-qt-200.png
wine_shot :92 "$root/build/windows/wine-prefix" docs/screenshot-windows.png
wine_shot :93 "$root/build/windows/wine-prefix-144dpi" docs/screenshot-windows-144dpi.png
wine_shot :94 "$root/build/windows/wine-prefix-192dpi" docs/screenshot-windows-192dpi.png
