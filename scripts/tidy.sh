#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy over the sources in src/, using the compile
# commands of the build folder given as argument; any finding fails the run.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$1"
if ! "$here/scripts/ensure-packages.sh" clang-tidy || ! command -v run-clang-tidy >/dev/null; then
    echo "Static analysis skipped: clang-tidy could not be installed."
    exit 0
fi
log="$build/clang-tidy.log"
if ! run-clang-tidy -quiet -p "$build" -j "$(nproc)" "$here/src/.*\.cpp\$" >"$log" 2>&1 \
        || grep -qE '(warning|error): ' "$log"; then
    grep -E '(warning|error): ' -A3 "$log" || tail -n 40 "$log"
    echo "clang-tidy found problems in src/ (full log: $log)"
    exit 1
fi
echo "clang-tidy: no findings in src/"
