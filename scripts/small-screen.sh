#!/usr/bin/env bash
# small-screen.sh VANDORA WIDTHxHEIGHT SCREENSHOT [CHART]: starts VANDORA (opening CHART, when given)
# under Xvfb at that screen size with the openbox window manager, checks that the framed window lies
# on the screen, and that it is the whole window (1820 px wide, at least 802 px high) where the screen holds it and a smaller
# one otherwise, then saves a screenshot of the screen. Installs what it needs from Debian.
set -euo pipefail
if [ $# -lt 3 ]; then
    echo "usage: $0 VANDORA WIDTHxHEIGHT SCREENSHOT [CHART]" >&2
    exit 2
fi
vandora="$1"
size="$2"
screenshot="$3"
chart="${4:-}"
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/ensure-packages.sh" xvfb openbox xdotool x11-utils imagemagick >/dev/null

log() { echo "small-screen: $*"; }
fail() {
    echo "small-screen: FAILED: $*" >&2
    exit 1
}
work="$(mktemp -d "${TMPDIR:-/tmp}/vandora-screen.XXXXXX")"
pids=()
finish() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap finish EXIT
# poll SECONDS COMMAND...: true once COMMAND succeeds, false after SECONDS.
poll() {
    local limit=$(($1 * 10))
    shift
    for _ in $(seq "$limit"); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
poll 30 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n 1 "$work/display")"
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
poll 30 wm_ready || fail "openbox did not start: $(cat "$work/openbox.log")"

ASAN_OPTIONS=detect_leaks=0 "$vandora" ${chart:+"$chart"} >"$work/vandora.log" 2>&1 &
pids+=($!)
window_id() { xdotool search --onlyvisible --name '^(.+ - )?Vandora\*?$' 2>/dev/null | head -n 1; }
has_window() { [ -n "$(window_id)" ]; }
poll 60 has_window || fail "no Vandora window: $(cat "$work/vandora.log")"
sleep 2 # the window manager frames the window and the window fits itself to the frame
window="$(window_id)"
read -r inner_x inner_y inner_w inner_h < <(xwininfo -id "$window" \
    | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} /Width/ {w=$NF} /Height/ {h=$NF} END {print x, y, w, h}')
# The frame the window manager draws: left, right, top and bottom.
read -r left right top bottom < <(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
[ -n "$bottom" ] || fail "the window manager reports no frame"
frame_x=$((inner_x - left))
frame_y=$((inner_y - top))
frame_w=$((inner_w + left + right))
frame_h=$((inner_h + top + bottom))
screen_w="${size%x*}"
screen_h="${size#*x}"
log "screen $size: window $inner_w x $inner_h, framed $frame_w x $frame_h at $frame_x,$frame_y"
[ "$frame_x" -ge 0 ] && [ "$frame_y" -ge 0 ] && [ $((frame_x + frame_w)) -le "$screen_w" ] \
    && [ $((frame_y + frame_h)) -le "$screen_h" ] || fail "the framed window is not wholly on the screen"
if [ "$screen_w" -ge $((1820 + frame_w - inner_w)) ] && [ "$screen_h" -ge $((802 + frame_h - inner_h)) ]; then
    [ "$inner_w" -eq 1820 ] && [ "$inner_h" -ge 802 ] || fail "the screen holds the whole window, yet it is $inner_w x $inner_h"
else
    [ "$inner_w" -lt 1820 ] || [ "$inner_h" -lt 802 ] || fail "the window did not shrink to the screen"
fi
import -window root "$screenshot"
log "passed; screenshot in $screenshot"
