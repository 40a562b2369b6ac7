#!/usr/bin/env bash
# Installs the Debian packages TANU needs to build, test and run. Safe to run again: it only
# calls apt-get when something is missing. Usage: tools/setup.sh [PRESET]  (web and release:
# also what the browser's page needs)
set -euo pipefail

packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev llvm pkg-config
    qt6-base-dev qt6-svg-dev libgl-dev libdeflate-dev
    libgtest-dev libbenchmark-dev
    fonts-liberation fonts-dejavu-core fontconfig poppler-utils
    xvfb xauth
    # Checks of the desktop entry, the AppStream metainfo and the MIME package; the Debian
    # package's dependencies (dpkg-shlibdeps, file) and its check (lintian).
    desktop-file-utils appstream shared-mime-info dpkg-dev file lintian
    mingw-w64 wine wine64 googletest
    # The Windows installer package (wixl) and its checks (msiinfo).
    wixl msitools
)
if [ "${1:-}" = web ] || [ "${1:-}" = release ]; then
    # The browser's page, built and tested with the release run: Emscripten builds it, Chromium
    # driven from Node.js tests it.
    packages+=(emscripten chromium python3 ca-certificates)
    command -v node >/dev/null || packages+=(nodejs)
    command -v npm >/dev/null || packages+=(npm)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
run_as_root=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Please run as root to install: ${missing[*]}" >&2; exit 1; }
    run_as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${run_as_root[@]}" apt-get update -q -o DPkg::Lock::Timeout=900
"${run_as_root[@]}" apt-get install -y -q --no-install-recommends -o DPkg::Lock::Timeout=900 "${missing[@]}"
