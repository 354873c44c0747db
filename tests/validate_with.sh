#!/bin/sh
# validate_with.sh TOOL [ARGUMENT...] FILE: runs the validator on FILE, or exits 77 (skipped) when TOOL is missing.
tool="$1"
if ! command -v "$tool" >/dev/null 2>&1; then
    echo "skipped: $tool is not installed"
    exit 77
fi
exec "$@"
