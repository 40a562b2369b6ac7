#!/usr/bin/env bash
# Builds TANU and runs every test. Usage: tools/test.sh [preset]   (release by default; asan;
# windows for the Windows build alone; web for the browser's page and its tests in Chromium)
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-release}"

tools/setup.sh "$preset"
# The Qt tests (and the test listing during the build) need no display: they draw on the
# offscreen platform. They get a runtime folder of their own, as a desktop session gives one.
export QT_QPA_PLATFORM=offscreen
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR=$(mktemp -d)
    export XDG_RUNTIME_DIR
    trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi
if [ "$preset" = web ]; then
    # The page's pictures are judged by a small native program of the release build.
    cmake --preset release >/dev/null
    cmake --build --preset release --target tanu_picture_distance
    cmake --preset web >/dev/null
    cmake --build --preset web
    cd tests/web
    npm ci --no-audit --no-fund
    node --test page.test.mjs
    exit 0
fi
if [ "$preset" != windows ]; then
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset" -j 2
fi

# The Windows build (cross-built with MinGW-w64, run under Wine) goes with the release run only:
# MinGW has no sanitizers, so under asan it would only repeat the same programs.
if [ "$preset" = release ] || [ "$preset" = windows ]; then
    cmake --preset windows >/dev/null
    cmake --build --preset windows
    ctest --preset windows -j 2
fi
