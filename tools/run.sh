#!/usr/bin/env bash
# Builds TANU and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target tanu
app=build/release/bin/tanu

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "$(uname)" = Linux ]; then
    echo "No display found. TANU is a desktop program: run it from a desktop session, or on a"
    echo "machine without one inside a virtual display:"
    echo "  XDG_RUNTIME_DIR=\$(mktemp -d) xvfb-run -s '-screen 0 1280x1024x24' $app"
    exit 1
fi
# A desktop session gives every program a private runtime folder; a bare X server does not.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR=$(mktemp -d)
    export XDG_RUNTIME_DIR
fi
exec "$app" "$@"
