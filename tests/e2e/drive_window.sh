#!/usr/bin/env bash
# Drives the built program in a real X window with real mouse and keyboard events, as a user would, and checks the
# GPX files it writes. Run inside an X server (xvfb-run). Arguments: the program folder, the GPX 1.0 schema.
set -euo pipefail
program_folder=$1
schema=$2
for tool in xdotool xprop xmllint; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
cp -r "$program_folder"/. "$work"/
rm -f "$work"/*.gpx

# shellcheck source=wait_for.sh
source "$(dirname "$0")/wait_for.sh"
count_waypoints() { [ -f "$1" ] && [ "$(grep -c '<wpt ' "$1")" -eq "$2" ]; }
not_running() { ! kill -0 "$pid" 2>/dev/null; }

"$work/skelvor" &
pid=$!
wid=$(timeout 30 xdotool search --sync --onlyvisible --name '^Skelvor$' | head -n 1 || true)
[ -n "$wid" ] || { echo "no Skelvor window appeared" >&2; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$wid")"
[ "$WIDTH" -eq 569 ] && [ "$HEIGHT" -eq 359 ] || { echo "window is ${WIDTH}x${HEIGHT}" >&2; exit 1; }

# What the window asks of a window manager: a title bar with the system menu and the close box only, and a size that
# cannot change. Motif hints: functions close 0x20, minimise 0x08, maximise 0x10, all-but 0x01; decorations menu
# 0x10, minimise 0x20, maximise 0x40, all-but 0x01.
read -r _ _ mwm_flags functions decorations _ <<<"$(xprop -id "$wid" -notype _MOTIF_WM_HINTS | tr -d ',')"
if ! (( (mwm_flags & 0x3) == 0x3 && (functions & 0x39) == 0x20 && (decorations & 0x71) == 0x10 )); then
  echo "window manager hints: flags $mwm_flags, functions $functions, decorations $decorations" >&2
  exit 1
fi
size_hints=$(xprop -id "$wid" WM_NORMAL_HINTS)
grep -q "minimum size: 569 by 359" <<<"$size_hints" && grep -q "maximum size: 569 by 359" <<<"$size_hints" ||
  { echo "the window may be resized: $size_hints" >&2; exit 1; }

# Clicks at a point of the client area.
click() { xdotool mousemove --sync $((X + $1)) $((Y + $2)) click 1; }
right_click() { xdotool mousemove --sync $((X + $1)) $((Y + $2)) click 3; }
type_text() { xdotool type --delay 20 "$1"; }

click 40 16                      # the first fix file, Sample Airports.csv...
xdotool key Down Down            # ...then Sample Waypoints.csv, two below it
right_click 40 16                # the right button loads no other file
click 30 88                      # the first country code: EF, Finland
xdotool key Down                 # EG, while the names stay on Finland
click 130 88                     # the highlighted Finland picks EF again
click 250 66 && type_text turka  # Find TURKA
click 336 66
click 416 66                     # Select All
right_click 250 88               # the right button keeps the selection and opens the menu...
xdotool key Escape               # ...which Escape closes
click 516 164                    # Show in PlanePlotter
wait_for "VOK.gpx with 2 waypoints" count_waypoints "$work/VOK.gpx" 2

click 478 67                     # tick Add to actual File
click 130 66 && type_text zam    # type the first letters of Zambia
click 416 66                     # Select All
click 516 164                    # Show in PlanePlotter
wait_for "VOK.gpx with 4 waypoints" count_waypoints "$work/VOK.gpx" 4

click 516 118 && xdotool key ctrl+a && type_text Trip   # Save as... Trip
click 516 164
wait_for "Trip.gpx with 6 waypoints" count_waypoints "$work/Trip.gpx" 6

click 516 336                    # End
wait_for "the program to end" not_running
# The program ends cleanly: under the sanitizers, a finding at exit shows in its status.
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || { echo "the program ended with status $status" >&2; exit 1; }

names() { grep -o '<name>[^<]*</name>' "$1" | sed 's/<[^>]*>//g' | tr '\n' ' '; }
expect_names() {
  local got
  got=$(names "$1")
  [ "$got" = "$2" ] || { echo "$1 holds: $got; expected: $2" >&2; exit 1; }
}
expect_names "$work/VOK.gpx" "KORSO TURKA KAFUE ZAMBE "
expect_names "$work/Trip.gpx" "KORSO TURKA KAFUE ZAMBE KAFUE ZAMBE "
for gpx in "$work/VOK.gpx" "$work/Trip.gpx"; do
  xmllint --noout --nonet --schema "$schema" "$gpx"
  [ "$(tail -c 14 "$gpx")" = "$(printf '</wpt></gpx>\r\n')" ] || { echo "$gpx does not end the GPX way" >&2; exit 1; }
done
echo "1 passed, 0 failed"
