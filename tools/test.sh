#!/usr/bin/env bash
# Builds TANU and runs every test. Usage: tools/test.sh [preset]   (release by default; asan)
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-release}"

tools/setup.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
# The Qt tests need no display: they draw on the offscreen platform.
export QT_QPA_PLATFORM=offscreen
ctest --preset "$preset" -j 2
