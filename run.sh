#!/usr/bin/env bash
# Builds Vandora in Release and starts it; an argument is a chart to open.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/scripts/ensure-packages.sh" cmake g++ make qtbase5-dev qtbase5-dev-tools fonts-dejavu-core libutf8proc-dev
(cd "$here" && cmake --preset release >/dev/null && cmake --build --preset release --parallel "$(nproc)")
exec "$here/build/vandora" "$@"
