#!/usr/bin/env bash
# Checks the layout of the C++ against .clang-format, builds Vandora with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs every test headless and the GUI fuzzer; where clang can be had, it
# also runs the chart stream, marked block and drawing fuzzers briefly, and clang-tidy over src/.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/scripts/ensure-packages.sh" cmake g++ make qtbase5-dev qtbase5-dev-tools fonts-dejavu-core libutf8proc-dev \
    libbenchmark-dev desktop-file-utils libxml2-utils xvfb xdotool xclip imagemagick clang-format
build="$here/build-test"
cd "$here"
"$here/scripts/format.sh"
cmake --preset test >/dev/null
cmake --build --preset test --parallel "$(nproc)"
# The fuzzers first, so that ctest's summary closes the run. The GUI fuzzer: 2,000 random user actions
# through real input under the sanitizers, with the chart's rules checked after each; it prints its seed.
QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$here/tests/lsan.supp" \
    "$build/fuzz/fuzz_gui" --actions 2000 2> >(grep -v '^This plugin does not support' >&2)
fuzz="$here/build-fuzz"
if ! "$here/scripts/ensure-packages.sh" clang libclang-rt-14-dev || ! command -v clang++ >/dev/null; then
    echo "Fuzzing skipped: clang with libFuzzer could not be installed."
else
    cmake --preset fuzz >/dev/null
    cmake --build --preset fuzz --parallel "$(nproc)"
    # New inputs go to a scratch folder; the committed seeds are only read.
    mkdir -p "$fuzz/corpus" "$fuzz/artifacts"
    "$fuzz/fuzz/fuzz_chartstream" -runs=200000 -print_final_stats=1 -artifact_prefix="$fuzz/artifacts/" \
        "$fuzz/corpus" "$here/fuzz/corpus"
    mkdir -p "$fuzz/corpus-markedblock"
    "$fuzz/fuzz/fuzz_markedblock" -runs=200000 -print_final_stats=1 -artifact_prefix="$fuzz/artifacts/" \
        -dict="$here/fuzz/markedblock.dict" "$fuzz/corpus-markedblock"
    mkdir -p "$fuzz/drawings"
    "$fuzz/fuzz/fuzz_drawingreader" -max_total_time=60 -max_len=2048 -print_final_stats=1 \
        -artifact_prefix="$fuzz/artifacts/" "$fuzz/drawings" "$here/fuzz/drawings"
fi

# The Debian package, in its own Release build; also installs the validators the dist_* tests use.
"$here/scripts/check-package.sh" "$build/vandora-render"

"$here/scripts/tidy.sh" "$build"

ctest --preset test
