#!/usr/bin/env bash
# Builds TANU's Debian package into build/package: tanu_<version>_<arch>.deb, then checks it with
# lintian. Install it with:  apt install ./build/package/tanu_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup.sh
build=build/package
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
# Only the programs: the package holds no tests or benchmarks. Debian's hardening flags
# (fortified functions, stack protector, read-only relocations bound at start).
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
      -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
      -DTANU_QT=ON -DTANU_TESTS=OFF -DTANU_BENCHMARKS=OFF >/dev/null
cmake --build "$build"
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/tanu_*.deb)
echo "Built $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends
echo "lintian:"
lintian --tag-display-limit 0 "$deb" || true
