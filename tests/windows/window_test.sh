#!/usr/bin/env bash
# Drives skelvor.exe of the Windows release under Wine in an X server of its own with real mouse and keyboard events,
# as a user would, from a folder whose path holds spaces and letters beyond ASCII, and checks that the window stands
# centred, that the GPX file it writes holds the bytes skelvor-export of the Linux build writes for the same choices,
# valid against the schema, and that the help buttons and the maker's label hand their document or page to the host.
# Arguments: the release zip, the Linux program folder, the GPX 1.0 schema.
set -euo pipefail
zip=$(realpath "$1")
linux=$(realpath "$2")
schema=$(realpath "$3")
for tool in wine wineserver Xvfb xdotool unzip xmllint; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done
# shellcheck source=wineprefix.sh
source "$(dirname "$0")/wineprefix.sh"

work=$(mktemp -d)
pid='' xvfb=''
trap 'kill $pid 2>/dev/null || true; wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT

WAIT_SECONDS=20
# shellcheck source=../e2e/wait_for.sh
source "$(dirname "$0")/../e2e/wait_for.sh"
not_running() { ! kill -0 "$pid" 2>/dev/null; }

# An X server on a free display, with no window manager: Wine then makes the X window of the program's client area
# only, at the client's place on the screen, and draws no frame.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
wait_for "the X server" test -s "$work/display"
DISPLAY=:$(cat "$work/display")
export DISPLAY

folder="$work/Cartes de vol/Zoë/Skelvor 1.0"
mkdir -p "$(dirname "$folder")"
unzip -q "$zip" -d "$work/unpacked"
mv "$work/unpacked"/Skelvor-* "$folder"
# A fix file of the user's whose name holds letters beyond ASCII: the airports sample without its first line.
accented="Aérodromes Zoë Airports.csv"
sed 1d "$folder/Sample Airports.csv" >"$folder/$accented"

# Wine's prefix hands URLs and .pdf documents to winebrowser, which runs the host's xdg-open: a stand-in notes them.
mkdir "$work/bin"
cat >"$work/bin/xdg-open" <<EOF
#!/bin/sh
printf '%s\n' "\$@" >>"$work/opened"
EOF
chmod +x "$work/bin/xdg-open"
export PATH=$work/bin:$PATH

skelvor_wine_prefix "$work/prefix"

# Wine's trace of window positions tells the frame that Windows puts around the client area.
WINEDEBUG=trace+win wine "$folder/skelvor.exe" 2>"$work/trace" &
pid=$!
# A search that meets a window as it goes away stops with an X error: it is tried again.
wid=$(timeout 60 bash -c 'until xdotool search --onlyvisible --name "^Skelvor$" 2>/dev/null; do sleep 0.2; done' |
  head -n 1 || true)
[ -n "$wid" ] || { echo "FAIL: no Skelvor window appeared" >&2; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$wid")"
if [ "$WIDTH" -ne 569 ] || [ "$HEIGHT" -ne 359 ]; then
  echo "FAIL: the client area is ${WIDTH}x${HEIGHT}" >&2
  exit 1
fi
echo "ok: the window Skelvor appeared, client area 569x359"

# The frame around the 569x359 client area, left, top, right and bottom, then its centre, in half pixels.
read -r left top right bottom < <(sed -n 's/.*calc_ncsize.*new win \(.*\)/\1/p' "$work/trace" | tr -c '0-9\n' ' ' |
  awk '$7 - $5 == 569 && $8 - $6 == 359 { print $5 - $1, $6 - $2, $3 - $7, $4 - $8; exit }') ||
  { echo "FAIL: Wine's trace names no frame around the client area" >&2; exit 1; }
across=$((2 * X + WIDTH - left + right)) down=$((2 * Y + HEIGHT - top + bottom))
centre="($((across / 2)).$((across % 2 * 5)), $((down / 2)).$((down % 2 * 5)))"
if [ $((across - 1024)) -lt -4 ] || [ $((across - 1024)) -gt 4 ] || [ $((down - 768)) -lt -4 ] ||
  [ $((down - 768)) -gt 4 ]; then
  echo "FAIL: the window's centre, frame included, is at $centre, not within 2 pixels of (512, 384)" >&2
  exit 1
fi
echo "ok: the window, frame included, stands centred: its centre is at $centre on the 1024x768 screen"

# The same choices, made by skelvor-export of the Linux build: a sample file, then a world file added to it.
expected=$work/expected
mkdir "$expected"
(
  cd "$expected"
  "$linux/skelvor-export" "$folder/$accented" --country France --output accented.gpx
  "$linux/skelvor-export" "$linux/Sample Waypoints.csv" --country Finland --output first.gpx
  cp first.gpx both.gpx
  "$linux/skelvor-export" "$linux/World Navaids.csv" --country France --output both.gpx --append
  # The first airport of France's list, whose coordinates the export of every French airport writes first.
  "$linux/skelvor-export" "$linux/World Airports.csv" --country France --output france.gpx
  first=$(grep -m 1 -o '<wpt lat="[^"]*" lon="[^"]*"' france.gpx | sed 's/.*lat="\([^"]*\)" lon="\([^"]*\)"/\1,\2/')
  "$linux/skelvor-export" "$linux/World Airports.csv" --near "$first" --within 250nm --country France --output range.gpx
)
same_as() { cmp -s "$folder/VOK.gpx" "$expected/$1"; }
dialog_shown() { xdotool search --onlyvisible --name '^Select within range$' >/dev/null 2>&1; }

# Clicks at a point of the client area, positions from the window's control table.
click() { xdotool mousemove --sync $((X + $1)) $((Y + $2)) click 1; }
type_text() { xdotool type --delay 30 "$1"; }

# The files are listed by name: the user's file, the three samples, then World Airports.csv and World Navaids.csv.
click 40 16 && xdotool key Home                # the user's file, the first
click 130 66 && type_text fra                  # the first letters of France in the box above the names
click 416 66                                   # Select All
click 516 164                                  # Show in PlanePlotter
wait_for "VOK.gpx as skelvor-export writes it for France" same_as accented.gpx
echo "ok: $accented, France: VOK.gpx as the Linux build writes it"

click 40 16 && xdotool key Home Down Down Down # Sample Waypoints.csv, the fourth file
click 130 66 && xdotool key ctrl+a && type_text fin
click 416 66                                   # Select All
click 516 164                                  # Show in PlanePlotter
wait_for "VOK.gpx as skelvor-export writes it for Finland" same_as first.gpx
echo "ok: Sample Waypoints.csv, Finland: VOK.gpx as the Linux build writes it"

click 478 67                                   # tick Add to actual File
click 40 16 && xdotool key End                 # World Navaids.csv, the last file
click 130 66 && xdotool key ctrl+a && type_text fra
click 416 66                                   # Select All
click 516 164                                  # Show in PlanePlotter
wait_for "VOK.gpx with France added as skelvor-export adds it" same_as both.gpx
echo "ok: World Navaids.csv, France added: VOK.gpx as the Linux build writes it"
click 478 67                                   # untick Add to actual File
click 40 16 && xdotool key End Up             # World Airports.csv, the file before the last
click 130 66 && xdotool key ctrl+a && type_text fra
xdotool mousemove --sync $((X + 250)) $((Y + 88)) click 3 && sleep 1   # the menu of the first airport
xdotool key Down Return                        # Select within range of ...
wait_for "the dialog Select within range" dialog_shown
type_text 250nm && xdotool key Return
dialog_gone() { ! dialog_shown; }
wait_for "the dialog Select within range to close" dialog_gone
click 516 164                                  # Show in PlanePlotter
wait_for "VOK.gpx as skelvor-export --near writes it" same_as range.gpx
echo "ok: World Airports.csv, France within 250nm of its first airport: VOK.gpx as skelvor-export --near writes it"
xmllint --noout --nonet --schema "$schema" "$folder/VOK.gpx" 2>/dev/null ||
  { echo "FAIL: VOK.gpx is not valid against the schema" >&2; exit 1; }
echo "ok: VOK.gpx is valid against the schema"

# "Fr", "En" and the maker's label, each noted once its program has run; file URLs are decoded into paths.
maker=$(sed -n 's/.*kMakerUrl\[\] = "\(.*\)";/\1/p' "$(dirname "$0")/../../core/maker.h")
opened() { [ "$(cat "$work/opened" 2>/dev/null | wc -l)" -eq "$1" ]; }
click 494 270 && wait_for "Aide Skelvor.pdf to be opened" opened 1
click 540 270 && wait_for "Help Skelvor.pdf to be opened" opened 2
click 490 13 && wait_for "the maker's page to be opened" opened 3
if ! diff <(printf '%s\n' "$folder/Aide Skelvor.pdf" "$folder/Help Skelvor.pdf" "$maker") \
  <(perl -pe 's|^file://||; s/%([0-9A-F]{2})/chr hex $1/ge' "$work/opened") >&2; then
  echo "FAIL: Fr, En and the maker's label opened other documents" >&2
  exit 1
fi
echo "ok: Fr, En and the maker's label opened the two help documents and $maker"

click 516 336                                  # End
wait_for "the program to end" not_running
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || { echo "FAIL: the program ended with status $status" >&2; exit 1; }
echo "ok: End closed the window"
