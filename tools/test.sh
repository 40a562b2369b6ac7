#!/usr/bin/env bash
# Builds TANU and runs every test. Usage: tools/test.sh [preset]   (release by default; asan;
# windows for the Windows build alone; web for the browser's page and its tests in Chromium,
# which the release run also runs)
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
# The browser's page and its tests in Chromium; the page's pictures are judged by a small native
# program of the release build.
test_web() {
    cmake --preset release >/dev/null
    cmake --build --preset release --target tanu_picture_distance
    cmake --preset web >/dev/null
    cmake --build --preset web
    # Node.js trusts a list of authorities of its own; it is told to trust the system's too, so
    # it reaches the registry through whatever this machine trusts (a school's proxy, say).
    if [ -z "${NODE_EXTRA_CA_CERTS:-}" ] && [ -f /etc/ssl/certs/ca-certificates.crt ]; then
        export NODE_EXTRA_CA_CERTS=/etc/ssl/certs/ca-certificates.crt
    fi
    (cd tests/web && npm ci --no-audit --no-fund && node --test page.test.mjs)
}
if [ "$preset" = web ]; then
    test_web
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

# The browser's page goes with the release run.
if [ "$preset" = release ]; then
    test_web
fi
