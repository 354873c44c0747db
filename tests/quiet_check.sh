#!/bin/sh
# quiet_check.sh [--allow REGEX] TOOL [ARGUMENT...]: runs a validator and fails when it exits non-zero or
# prints any line that REGEX (an extended regular expression) does not match; exits 77 (skipped) when
# TOOL is missing.
allow='^$'
if [ "$1" = "--allow" ]; then
    allow="$2"
    shift 2
fi
if ! command -v "$1" >/dev/null 2>&1; then
    echo "skipped: $1 is not installed"
    exit 77
fi
output="$("$@" 2>&1)"
status=$?
printf '%s\n' "$output"
if [ "$status" -ne 0 ]; then
    echo "FAILED: $1 exited with $status"
    exit 1
fi
if printf '%s\n' "$output" | grep -v -E -e "$allow" -e '^$' | grep -q .; then
    echo "FAILED: $1 reported the lines above"
    exit 1
fi
