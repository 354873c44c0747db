#!/usr/bin/env bash
# package.sh [BUILD_DIR]: builds the Debian package of Vandora in BUILD_DIR (default build-deb/), a
# Release build of the two programs with Debian's hardening flags, and prints the package's path.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build-deb}"
cxxflags=""
ldflags=""
if command -v dpkg-buildflags >/dev/null; then
    # Hardened as Debian builds its own packages; no build path in the flags, so ccache can share objects.
    export DEB_BUILD_MAINT_OPTIONS="hardening=+all reproducible=-fixfilepath,-fixdebugpath"
    cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
    ldflags="$(dpkg-buildflags --get LDFLAGS)"
fi
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    # Paths relative to the checkout, so that another clone's objects are found again.
    export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$here}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
fi
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVANDORA_TESTS=OFF -DVANDORA_BENCHMARKS=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
    "${launcher[@]}" >/dev/null
cmake --build "$build" --parallel "$(nproc)" >/dev/null
rm -f "$build"/vandora_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/vandora_*.deb
