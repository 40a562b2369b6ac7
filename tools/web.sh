#!/usr/bin/env bash
# Builds TANU's page and serves it on http://localhost:8000 for a try (Ctrl+C ends it).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh web
cmake --preset web >/dev/null
cmake --build --preset web
echo "TANU is at http://localhost:8000/"
exec python3 -m http.server --bind 127.0.0.1 --directory build/web/site 8000
