#!/bin/sh
# Rebuilds the chart pictures in data/ from the drawing code in this folder.
set -eu
repo=$(cd "$(dirname "$0")/../.." && pwd)
build="$repo/build/artwork"

# Tests and benchmarks are left out: the pictures need only the core libraries and the Qt surface.
cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DTANU_QT=ON -DTANU_TESTS=OFF -DTANU_BENCHMARKS=OFF >/dev/null
ninja -C "$build" -j2 tanu_artwork
QT_QPA_PLATFORM=offscreen "$build/tools/artwork/tanu_artwork" "$repo/data"
QT_QPA_PLATFORM=offscreen "$build/tools/artwork/tanu_artwork" --icons "$repo/icons"
