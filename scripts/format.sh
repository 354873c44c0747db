#!/usr/bin/env bash
# Checks that the C++ of src/, tests/, bench/ and fuzz/ is laid out as .clang-format says; with --fix,
# lays it out so.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
cd "$here"
mapfile -t files < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' \
    'fuzz/*.cpp' 'fuzz/*.h')
if [ "${1:-}" = --fix ]; then
    clang-format -i "${files[@]}"
elif ! clang-format --dry-run --Werror "${files[@]}"; then
    echo "Not laid out as .clang-format says; scripts/format.sh --fix lays it out."
    exit 1
fi
