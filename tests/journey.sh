#!/usr/bin/env bash
# journey.sh VANDORA VANDORA_RENDER JOURNEY_GEOMETRY ARTIFACT_DIR
#
# A user's journey through the real program under Xvfb, with real X input from xdotool: two boxes
# are typed, a connector is dragged between them with Alt held, "Draw " and "Move all" are clicked,
# Ctrl+S saves through the real file dialog; the files on disk are checked against vandora-render;
# the backup is opened again from the command line; Ctrl+C must put the compact drawing and
# Ctrl+Shift+C the whole one on the X clipboard, also with text selected in a box; a box dragged into a
# corner keeps its border; the output view's context menu reads. Screenshots are kept in ARTIFACT_DIR.
# Exits 77 (skipped) only when Xvfb, xdotool, xclip or ImageMagick are missing; every other problem fails.
set -euo pipefail

if [ $# -ne 4 ]; then
    echo "usage: $0 VANDORA VANDORA_RENDER JOURNEY_GEOMETRY ARTIFACT_DIR" >&2
    exit 2
fi
vandora="$1"
render="$2"
geometry="$3"
artifacts="$4"

missing=()
for tool in Xvfb xdotool xclip import convert; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "skipped: not installed: ${missing[*]} (packages xvfb, xdotool, xclip, imagemagick)"
    exit 77
fi

# Bounded waits: every poll below gives up after this many seconds.
patience=60

log() { echo "journey: $*"; }
fail() {
    echo "journey: FAILED: $*" >&2
    exit 1
}

rm -rf "$artifacts"
mkdir -p "$artifacts"
work="$(mktemp -d "${TMPDIR:-/tmp}/vandora-journey.XXXXXX")"
# The settings file beside the program remembers the last folder; none may leak between runs.
settings="$(dirname "$vandora")/flowChart.settings"
rm -f "$settings"

xvfb_pid=""
app_pid=""
stop_app() {
    if [ -n "$app_pid" ]; then
        kill "$app_pid" 2>/dev/null || true
        for _ in $(seq 1 50); do
            kill -0 "$app_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$app_pid" 2>/dev/null || true
        wait "$app_pid" 2>/dev/null || true
        app_pid=""
    fi
}
finish() {
    local status=$?
    if [ "$status" -ne 0 ] && [ -n "${DISPLAY:-}" ] && [ -n "$xvfb_pid" ]; then
        import -window root "$artifacts/failure.png" 2>/dev/null || true
        cp -r "$work" "$artifacts/files" 2>/dev/null || true
        for f in "$work"/*.log; do
            [ -s "$f" ] && { echo "--- $(basename "$f")"; tail -n 40 "$f"; }
        done
    fi
    stop_app
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -f "$settings"
    rm -rf "$work"
    exit "$status"
}
trap finish EXIT
trap 'exit 130' INT TERM

# --- The X server, on the first free display; it writes the number to fd 3 once it accepts clients.
# -noreset: the server must not reset (and refuse clients for a moment) when the last client leaves.
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
display=""
for _ in $(seq 1 $((patience * 10))); do
    display="$(head -n 1 "$work/display" 2>/dev/null || true)"
    [ -n "$display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb exited: $(cat "$work/xvfb.log")"
    sleep 0.1
done
[ -n "$display" ] || fail "Xvfb did not report a display within ${patience}s"
export DISPLAY=":$display"
log "Xvfb on $DISPLAY"

# A clean Qt environment: X11, no desktop's platform theme (so Qt's own file dialog), no user config.
export QT_QPA_PLATFORM=xcb
unset QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS \
    QT_AUTO_SCREEN_SCALE_FACTOR QT_FONT_DPI XDG_CURRENT_DESKTOP DESKTOP_SESSION GNOME_DESKTOP_SESSION_ID \
    KDE_FULL_SESSION 2>/dev/null || true
# X and font libraries keep allocations until exit; leaks are checked by the other tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache"
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"
# The recovery file lives in the user's data folder.
export XDG_DATA_HOME="$work/data"
chmod 700 "$XDG_RUNTIME_DIR"

# --- Where the widgets lie, from the same form laid out on this display.
"$geometry" drawWidget radioButton_2 radioButton_3 radioButton_4 radioBMoveAll drawOutput pushButton_4 \
    >"$work/geometry.txt" 2>"$work/geometry.log" || fail "journey_geometry failed: $(cat "$work/geometry.log")"
while read -r name x y w h; do
    printf -v "geo_${name}" '%s %s %s %s' "$x" "$y" "$w" "$h"
done <"$work/geometry.txt"
read -r canvas_x canvas_y canvas_w canvas_h <<<"$geo_drawWidget"
log "canvas at $canvas_x,$canvas_y size ${canvas_w}x${canvas_h}"

# --- Helpers. Coordinates given to them are relative to the main window.
# The main window's title: the chart's file name, if any, and a * while changes are unsaved.
main_window='^(.+ - )?Vandora\*?$'
win_x=0
win_y=0
# start_app [ARG...]: starts vandora and waits until its main window is mapped and painted.
start_app() {
    local logfile="$work/vandora-$((++app_runs)).log"
    "$vandora" "$@" >"$logfile" 2>&1 &
    app_pid=$!
    wait_for "the window named Vandora" window_shown "$main_window"
    local window geometry_shell
    window="$(window_named "$main_window")"
    geometry_shell="$(xdotool getwindowgeometry --shell "$window")"
    win_x="$(sed -n 's/^X=//p' <<<"$geometry_shell")"
    win_y="$(sed -n 's/^Y=//p' <<<"$geometry_shell")"
    log "window $window at $win_x,$win_y"
    wait_for "the canvas to be painted" canvas_white
}
app_runs=0

# shot FILE: a screenshot of the whole screen.
shot() { import -window root "$1"; }

# region_stat STAT X Y W H: an ImageMagick statistic (mean, minima) of a window region, 0 to 1.
region_stat() {
    local stat="$1" x=$(($2 + win_x)) y=$(($3 + win_y)) w="$4" h="$5"
    import -window root -crop "${w}x${h}+${x}+${y}" +repage -colorspace Gray -format "%[fx:${stat}]" info:
}

# poll COMMAND...: runs COMMAND until it succeeds (0) or $patience seconds pass (1), or vandora exits (2).
poll() {
    local deadline=$((SECONDS + patience))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        kill -0 "$app_pid" 2>/dev/null || return 2
        sleep 0.2
    done
}
# wait_for WHAT COMMAND...: polls COMMAND and fails the journey when it does not succeed in time.
wait_for() {
    local what="$1" status=0
    shift
    poll "$@" || status=$?
    case "$status" in
    0) ;;
    2) fail "vandora exited while waiting for $what" ;;
    *) fail "timed out after ${patience}s waiting for $what" ;;
    esac
}

# window_named REGEX: the id of a visible window whose name matches, if any.
window_named() {
    local ids
    ids="$(xdotool search --onlyvisible --name "$1" 2>/dev/null || true)"
    echo "${ids%%$'\n'*}"
}
window_shown() { [ -n "$(window_named "$1")" ]; }
window_gone() { [ -z "$(window_named "$1")" ]; }

less_than() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }

# canvas_white: the top right corner of the canvas, where the journey draws nothing, is painted white.
canvas_white() {
    local stat
    stat="$(region_stat minima $((canvas_x + canvas_w - 80)) $((canvas_y + 20)) 40 40)"
    ! less_than "$stat" 0.99
}

# canvas_dark X Y W H: some dark pixel lies in that canvas region.
canvas_dark() {
    less_than "$(region_stat minima $((canvas_x + $1)) $((canvas_y + $2)) "$3" "$4")" 0.5
}

# radio_checked NAME: the radio button's indicator shows its dot. An unchecked indicator is a white
# disc in a grey ring; the dot darkens its middle.
radio_checked() {
    local x y w h geo="geo_$1"
    read -r x y w h <<<"${!geo}"
    less_than "$(region_stat minima $((x + w / 2 - 2)) $((y + h / 2 - 2)) 4 4)" 0.5
}
radio_unchecked() { ! radio_checked "$1"; }

# click_at X Y: a real left click at a window point.
click_at() {
    xdotool mousemove --sync $((win_x + $1)) $((win_y + $2))
    xdotool click 1
}
# click_canvas X Y: a real left click at a canvas point.
click_canvas() { click_at $((canvas_x + $1)) $((canvas_y + $2)); }
click_radio() {
    local x y w h geo="geo_$1"
    read -r x y w h <<<"${!geo}"
    click_at $((x + w / 2)) $((y + h / 2))
}
# rest_pointer: parks the pointer on the empty lower part of the button column, inside the window.
rest_pointer() {
    local x y w h
    read -r x y w h <<<"$geo_radioButton_4"
    xdotool mousemove --sync $((win_x + x + 60)) $((win_y + canvas_y + canvas_h - 40))
}


# add_box X Y TEXT: a click on an empty canvas point opens a 24 x 16 box with its top-left 12,8 up and
# left of the pointer; a click into it gives it the keys; the typed text widens it to the right.
add_box() {
    local x="$1" y="$2" text="$3"
    click_canvas "$x" "$y"
    wait_for "the box at $x,$y" canvas_dark $((x - 12)) $((y - 8)) 24 16
    sleep 0.6 # no double click
    click_canvas $((x - 4)) "$y"
    sleep 0.3
    xdotool type --delay 60 "$text"
    wait_for "the box at $x,$y to grow with \"$text\"" canvas_dark $((x + 13)) $((y - 8)) 8 16
}

# end_app: ends the running vandora, which must still be running and must have reported no error
# of AddressSanitizer or UndefinedBehaviorSanitizer.
end_app() {
    kill -0 "$app_pid" 2>/dev/null || fail "vandora exited before the journey ended it"
    stop_app
    local logfile="$work/vandora-$app_runs.log"
    if grep -q -E 'ERROR: AddressSanitizer|runtime error:' "$logfile"; then
        cat "$logfile"
        fail "vandora reported a sanitizer error"
    fi
}

# ============================================================================ the journey
start_app
# The indicators found through journey_geometry show the states the window starts with.
radio_checked radioButton_4 || fail "\"Draw box\" does not show as checked where journey_geometry puts it"
radio_unchecked radioButton_3 || fail "\"Draw \" shows as checked at start"

# 1, 2: two boxes with text.
add_box 190 200 start
add_box 520 580 end

# 3: with Alt held, "Connect" is on: a left drag draws a connector from below "start" to above "end".
from_x=230
from_y=230
to_x=520
to_y=555
xdotool mousemove --sync $((win_x + canvas_x + from_x)) $((win_y + canvas_y + from_y))
xdotool keydown alt
wait_for "Alt to switch \"Connect\" on" radio_checked radioButton_2
xdotool mousedown 1
steps=24
for i in $(seq 1 $steps); do
    xdotool mousemove $((win_x + canvas_x + from_x + (to_x - from_x) * i / steps)) \
        $((win_y + canvas_y + from_y + (to_y - from_y) * i / steps))
    sleep 0.05
done
xdotool mouseup 1
sleep 0.2
xdotool keyup alt
wait_for "\"Connect\" to go off with Alt" radio_unchecked radioButton_2
mid_x=$(((from_x + to_x) / 2))
mid_y=$(((from_y + to_y) / 2))
wait_for "the connector" canvas_dark $((mid_x - 8)) $((mid_y - 8)) 16 16

# 4: "Draw " renders the drawing into the view on the right.
read -r out_x out_y out_w out_h <<<"$geo_drawOutput"
output_shown() { less_than "$(region_stat minima $((out_x + 10)) $((out_y + 10)) $((out_w - 40)) $((out_h - 40)))" 0.5; }
! output_shown || fail "the output view shows something before \"Draw \" is on"
click_radio radioButton_3
rest_pointer
wait_for "\"Draw \" to be checked" radio_checked radioButton_3
wait_for "the drawing in the output view" output_shown

# 5: "Move all" on and off again by two clicks.
click_radio radioBMoveAll
rest_pointer
wait_for "\"Move all\" to be checked" radio_checked radioBMoveAll
click_radio radioBMoveAll
rest_pointer
wait_for "\"Move all\" to be unchecked" radio_unchecked radioBMoveAll
radio_checked radioButton_3 || fail "\"Draw \" went off"
shot "$artifacts/1-drawn.png"
# The window alone, the picture the README and the software centre show.
window_shot() {
    local size
    size="$(xdotool getwindowgeometry --shell "$(window_named "$main_window")" | sed -n 's/^WIDTH=//p; s/^HEIGHT=//p' | paste -sd x)"
    import -window root -crop "${size}+${win_x}+${win_y}" +repage "$1"
}
window_shot "$artifacts/screenshot.png"
log "drawn"

# 6: Ctrl+S, the real save dialog, a typed absolute path, Return; then "Chart saved!".
export_file="$work/out/chart.txt"
backup_file="$work/out/chart.fcb"
mkdir -p "$work/out"
xdotool key ctrl+s
wait_for "the save dialog" window_shown '^Save file$'
sleep 0.5
xdotool type --delay 30 "$export_file"
sleep 0.3
shot "$artifacts/2-save-dialog.png"
xdotool key Return
wait_for "the message after saving" window_shown '^(Saved|Not saved)$'
window_shown '^Saved$' || fail "saving failed: a \"Not saved\" box appeared"
! window_shown '^Save file$' || fail "the save dialog is still open"
xdotool key Return
wait_for "the \"Chart saved!\" box to close" window_gone '^Saved$'
log "saved"
# A backup as the window writes it, for a sample chart.
cp "$backup_file" "$artifacts/chart.fcb"

# 7: the files on disk.
[ -s "$export_file" ] || fail "no export at $export_file"
[ -s "$backup_file" ] || fail "no backup at $backup_file"
"$render" "$backup_file" >"$work/rendered.txt" || fail "vandora-render failed on the backup"
cmp "$export_file" "$work/rendered.txt" || fail "the export differs from vandora-render's drawing of the backup"
rows="$(awk 'END { print NR }' "$export_file")"
[ "$rows" -eq 61 ] || fail "the export has $rows rows, not 61"
first_row_with() { awk -v s="$1" 'index($0, s) { print NR; exit }' "$export_file"; }
start_row="$(first_row_with '|start|')"
end_row="$(first_row_with '|end|')"
[ -n "$start_row" ] || fail "no framed \"start\" in the export"
[ -n "$end_row" ] || fail "no framed \"end\" in the export"
grep -q -F -- '|-----|' "$export_file" || fail "no border of the \"start\" box in the export"
grep -q -F -- '|---|' "$export_file" || fail "no border of the \"end\" box in the export"
star_rows="$(grep -n -F '*' "$export_file" | cut -d: -f1)"
star_count="$(wc -w <<<"$star_rows")"
[ "$star_count" -ge 10 ] || fail "the connector shows on $star_count rows only"
for row in $star_rows; do
    [ "$row" -ge "$start_row" ] && [ "$row" -le "$end_row" ] \
        || fail "a \"*\" on row $row lies outside the rows $start_row..$end_row of the boxes"
done
log "export checked: boxes on rows $start_row and $end_row, connector on $star_count rows"
end_app

# 8: the backup opened from the command line; Ctrl+C and Ctrl+Shift+C copy the drawing.
start_app "$backup_file"
wait_for "the title to name the reopened chart" window_shown '^chart\.fcb - Vandora$'
wait_for "the reopened \"start\" box" canvas_dark $((190 - 12)) $((200 - 8)) 24 16
wait_for "the reopened connector" canvas_dark $((mid_x - 8)) $((mid_y - 8)) 16 16
# A click on an empty canvas corner with Ctrl held ("Move / Remove") gives the window the keys
# without creating a box; C then copies, as no box editor has the focus.
xdotool mousemove --sync $((win_x + canvas_x + canvas_w - 30)) $((win_y + canvas_y + 30))
xdotool keydown ctrl
sleep 0.3
xdotool click 1
sleep 0.3
xdotool key c
sleep 0.2
xdotool keyup ctrl
# clipboard_matches FILE: the X clipboard holds exactly FILE's bytes.
clipboard_matches() {
    xclip -o -selection clipboard -t UTF8_STRING >"$work/clipboard.txt" 2>/dev/null \
        && cmp -s "$work/clipboard.txt" "$1"
}
# Ctrl+C: only the part of the drawing that holds the chart, with no trailing spaces to paste.
"$render" --crop "$backup_file" >"$work/compact.txt" || fail "vandora-render --crop failed on the backup"
if ! poll clipboard_matches "$work/compact.txt"; then
    diff "$work/clipboard.txt" "$work/compact.txt" | head -n 20 || true
    fail "the clipboard does not hold the compact drawing"
fi
! grep -q ' $' "$work/clipboard.txt" || fail "the compact drawing has trailing spaces"
[ "$(awk 'END { print NR }' "$work/clipboard.txt")" -lt 61 ] || fail "the compact drawing keeps every row"
# Ctrl+Shift+C: the whole grid, as Save exported it.
xdotool keydown ctrl
sleep 0.3
xdotool key shift+c
sleep 0.2
xdotool keyup ctrl
if ! poll clipboard_matches "$export_file"; then
    diff "$work/clipboard.txt" "$export_file" | head -n 20 || true
    fail "the clipboard does not hold the whole drawing"
fi
rest_pointer
sleep 0.3
shot "$artifacts/3-reopened.png"
log "clipboard checked"

# ---------------------------------------------------------------- removal, undo, Ctrl drag, Clear all
# save_step NAME: Ctrl+S into NAME.txt through the real dialog; the program must still run, and the
# export must equal vandora-render's drawing of the backup written beside it.
save_step() {
    local file="$work/out/$1.txt"
    kill -0 "$app_pid" 2>/dev/null || fail "vandora exited before step $1"
    xdotool key ctrl+s
    wait_for "the save dialog of step $1" window_shown '^Save file$'
    sleep 0.5
    xdotool type --delay 30 "$file"
    xdotool key Return
    wait_for "the message after saving step $1" window_shown '^(Saved|Not saved)$'
    window_shown '^Saved$' || fail "saving step $1 failed"
    xdotool key Return
    wait_for "the message of step $1 to close" window_gone '^Saved$'
    "$render" "$work/out/$1.fcb" >"$work/rendered-$1.txt" || fail "vandora-render failed on step $1"
    cmp "$file" "$work/rendered-$1.txt" || fail "the export of step $1 differs from vandora-render's drawing"
    step_export="$file"
}
has() { grep -q -F -- "$1" "$step_export"; }
# column_of TEXT: where TEXT starts in the first row that holds it.
column_of() { awk -v s="$1" 'index($0, s) { print index($0, s); exit }' "$step_export"; }
# ctrl_right_click X Y: a right click at a canvas point with Ctrl held ("Move / Remove").
ctrl_right_click() {
    xdotool mousemove --sync $((win_x + canvas_x + $1)) $((win_y + canvas_y + $2))
    xdotool keydown ctrl
    sleep 0.3
    xdotool click 3
    sleep 0.3
    xdotool keyup ctrl
    sleep 0.3
}

add_box 420 120 gone
save_step 9-typed
has '|gone|' || fail "the typed box \"gone\" is not in the export"
# Ctrl + right click on the box's own text removes it.
ctrl_right_click 424 120
save_step 10-box-removed
! has 'gone' || fail "Ctrl + right click on \"gone\" did not remove it"
# Connector points are kept shifted from the pointer by half the canvas x and all of its y, plus 10, 7.
ctrl_right_click $((mid_x + canvas_x / 2 + 10)) $((mid_y + canvas_y + 7))
save_step 11-connector-removed
! has '*' || fail "Ctrl + right click on the connector did not remove it"
xdotool key ctrl+z
save_step 12-undone
has '*' || fail "Undo did not bring the connector back"
! has 'gone' || fail "Undo brought back more than the connector"
# Ctrl held, a drag on "start"; Ctrl is let go before the button.
start_column="$(column_of '|start|')"
xdotool mousemove --sync $((win_x + canvas_x + 190)) $((win_y + canvas_y + 200))
xdotool keydown ctrl
sleep 0.3
xdotool mousedown 1
for i in $(seq 1 10); do
    xdotool mousemove $((win_x + canvas_x + 190 + 12 * i)) $((win_y + canvas_y + 200 + 4 * i))
    sleep 0.05
done
xdotool keyup ctrl
sleep 0.2
xdotool mouseup 1
sleep 0.3
rest_pointer
save_step 13-moved
moved_column="$(column_of '|start|')"
[ -n "$moved_column" ] && [ "$moved_column" -gt $((start_column + 10)) ] \
    || fail "the Ctrl drag did not move \"start\" (column $start_column, then ${moved_column:-none})"
# The connector drawn from just below the right end of "start" went along with it: its first "*" is
# still one row below the box's lower border and one column right of its right border.
moved_row="$(awk 'index($0, "|start|") { print NR; exit }' "$step_export")"
awk -v r="$moved_row" -v c="$moved_column" 'NR >= r + 1 && NR <= r + 3 && index(substr($0, c + 6, 3), "*") { found = 1 }
    END { exit !found }' "$step_export" || fail "the connector's end did not follow the dragged \"start\" box"
# Nothing stays grabbed: with Ctrl held again the box does not follow the pointer.
xdotool keydown ctrl
xdotool mousemove --sync $((win_x + canvas_x + 600)) $((win_y + canvas_y + 100))
sleep 0.5
xdotool keyup ctrl
rest_pointer
save_step 14-released
[ "$(column_of '|start|')" = "$moved_column" ] || fail "\"start\" followed the pointer after its drag ended"
read -r clear_x clear_y clear_w clear_h <<<"$geo_pushButton_4"
click_at $((clear_x + clear_w / 2)) $((clear_y + clear_h / 2))
rest_pointer
save_step 15-cleared
! has 'start' && ! has '*' || fail "Clear all left part of the chart"
xdotool key ctrl+z
save_step 16-clear-undone
has '|start|' && has '|end|' && has '*' || fail "Undo did not bring the cleared chart back"
[ "$(column_of '|start|')" = "$moved_column" ] || fail "Undo of Clear all did not restore the moved box"
# Ctrl held, "start" dragged into the top left corner: its border stays in the drawing. It is grabbed on
# its text, found by its cell in the last export (7.03 x 13.13 px a cell).
read -r grab_col grab_row < <(awk 'index($0, "|start|") { print index($0, "|start|"), NR - 1; exit }' "$step_export")
grab_x=$((grab_col * 801 / 114 + 10))
grab_y=$((grab_row * 801 / 61 + 6))
xdotool mousemove --sync $((win_x + canvas_x + grab_x)) $((win_y + canvas_y + grab_y))
xdotool keydown ctrl
sleep 0.3
xdotool mousedown 1
for i in $(seq 1 10); do
    xdotool mousemove $((win_x + canvas_x + grab_x - grab_x * i / 10)) $((win_y + canvas_y + grab_y - grab_y * i / 10))
    sleep 0.05
done
xdotool mousemove $((win_x + canvas_x + 1)) $((win_y + canvas_y + 1))
sleep 0.1
xdotool mouseup 1
sleep 0.2
xdotool keyup ctrl
rest_pointer
save_step 17-edge
[ "$(sed -n 1p "$step_export" | cut -c1-7)" = '|-----|' ] && [ "$(sed -n 2p "$step_export" | cut -c1-7)" = '|start|' ] \
    || fail "\"start\" dragged into the corner lost its border: $(head -n 3 "$step_export")"
# A click into "start" and Shift+Home select part of its text; Ctrl+Shift+C still copies the whole grid.
click_canvas 30 14
sleep 0.3
xdotool key shift+Home
sleep 0.2
xdotool keydown ctrl
sleep 0.3
xdotool key shift+c
sleep 0.2
xdotool keyup ctrl
if ! poll clipboard_matches "$step_export"; then
    diff "$work/clipboard.txt" "$step_export" | head -n 20 || true
    fail "Ctrl+Shift+C with a selection in a box did not copy the whole drawing"
fi
shot "$artifacts/4-removal-steps.png"
log "edge drag and Ctrl+Shift+C with a selection checked"

# The output view's context menu: the selected entry must read, not be white on white.
read -r out_x out_y out_w out_h <<<"$geo_drawOutput"
menu_x=$((out_x + 100))
menu_y=$((out_y + 100))
xdotool mousemove --sync $((win_x + menu_x)) $((win_y + menu_y))
xdotool click 3
sleep 0.8
# Down selects the first entry, "Style", as the pointer over it would.
xdotool key Down
sleep 0.5
shot "$artifacts/6-context-menu.png"
menu_contrast="$(import -window root -crop "60x14+$((win_x + menu_x + 6))+$((win_y + menu_y + 5))" +repage -colorspace Gray -format '%[fx:maxima-minima]' info:)"
xdotool key Escape
sleep 0.3
less_than 0.3 "$menu_contrast" || fail "the context menu's selected entry does not read (contrast $menu_contrast)"
log "context menu reads (contrast $menu_contrast)"
end_app
log "removal steps checked; screenshots in $artifacts"

# ---------------------------------------------------------------- crash recovery
# Two boxes typed, the program killed with SIGKILL; a new start offers the recovery file, Return takes
# the offer, and the chart that comes back saves to the same drawing the recovery file renders to.
rm -rf "$XDG_DATA_HOME"
start_app
add_box 300 300 crash
add_box 450 420 kept
recovered_drawing() {
    recovery="$(find "$XDG_DATA_HOME" -name recovery.fcb 2>/dev/null | head -n 1)"
    [ -n "$recovery" ] && "$render" "$recovery" >"$work/recovered.txt" 2>/dev/null && grep -q -F '|kept|' "$work/recovered.txt"
}
wait_for "the recovery file to hold both boxes" recovered_drawing
kill -KILL "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=""
[ -e "$recovery" ] || fail "the recovery file did not outlive the crash"
start_app
wait_for "the offer to restore" window_shown '^Restore chart$'
xdotool key Return
wait_for "the offer to close" window_gone '^Restore chart$'
wait_for "the restored \"crash\" box" canvas_dark $((300 - 12)) $((300 - 8)) 24 16
wait_for "the restored \"kept\" box" canvas_dark $((450 - 12)) $((420 - 8)) 24 16
shot "$artifacts/5-restored.png"
radio_checked radioButton_3 || fail "\"Draw \" was not remembered from the earlier runs"
restored_file="$work/out/restored.txt"
xdotool key ctrl+s
wait_for "the save dialog after restoring" window_shown '^Save file$'
sleep 0.5
xdotool type --delay 30 "$restored_file"
xdotool key Return
wait_for "\"Chart saved!\" after restoring" window_shown '^Saved$'
xdotool key Return
wait_for "the \"Chart saved!\" box to close" window_gone '^Saved$'
cmp "$restored_file" "$work/recovered.txt" || fail "the restored chart differs from the one before the crash"
[ ! -e "$recovery" ] || fail "saving left the recovery file behind"
end_app
log "crash recovery checked"
echo "journey passed"
