#!/usr/bin/env bash
# Builds Vandora with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test headless.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/scripts/ensure-packages.sh" cmake g++ make qtbase5-dev qtbase5-dev-tools fonts-dejavu-core \
    libbenchmark-dev
build="$here/build-test"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DVANDORA_SANITIZE=ON -DVANDORA_TESTS=ON \
    -DVANDORA_BENCHMARKS=ON >/dev/null
cmake --build "$build" --parallel "$(nproc)"
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure --no-tests=error
