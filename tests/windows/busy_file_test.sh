#!/usr/bin/env bash
# Checks under Wine that the Windows release saves through a GPX file that another program holds open, as a plotting
# program, a virus scanner or a synchronising client does: held throughout, skelvor-export.exe and the window say so and
# leave the earlier file as it was, and the window exports the same waypoints once the file is free; held for half a
# second, the export waits and writes. Then that skelvor-export.exe and skelvor-import.exe give the console its output
# code page back. The holding program is testaid.exe (tests/windows/testaid.cpp).
# Arguments: the release zip, the Linux program folder, testaid.exe.
set -euo pipefail
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
zip=$(realpath "$1")
linux=$(realpath "$2")
testaid=$(realpath "$3")
# shellcheck source=wineprefix.sh
source "$(dirname "$0")/wineprefix.sh"
WAIT_SECONDS=20
# shellcheck source=../e2e/wait_for.sh
source "$(dirname "$0")/../e2e/wait_for.sh"

work=$(mktemp -d)
holder='' window=''
trap 'kill $holder $window 2>/dev/null || true; wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
unzip -q "$zip" -d "$work"
cp "$testaid" "$work/testaid.exe"
folder=$(echo "$work"/Skelvor-*)
cd "$folder"
skelvor_wine_prefix "$work/prefix"

failed=0
check() { # description, then the command that must succeed
  if "${@:2}"; then echo "ok: $1"; else echo "FAIL: $1" && failed=1; fi
}

# hold FILE SHARING MILLISECONDS: testaid holds FILE from now on, in the background; returns once it is held. With
# "input" for MILLISECONDS, it holds the file until release closes its standard input, a pipe of the test's own.
hold() {
  rm -f "$work/held" "$work/input"
  mkfifo "$work/input"
  wine "$testaid" hold "$@" <"$work/input" >"$work/held" &
  holder=$!
  exec {input}>"$work/input"
  wait_for "testaid to hold $1" grep -q held "$work/held"
}
# Ends the hold; once testaid has ended, it has closed the file.
release() {
  exec {input}>&-
  wait "$holder"
}
# What skelvor-export of the Linux build writes for a country of the waypoints sample.
expected() { "$linux/skelvor-export" "$linux/Sample Waypoints.csv" --country "$1" --output -; }
earlier_kept() { cmp -s "$1" "$work/earlier"; }
nothing_beside() { [ "$(find . -maxdepth 1 -name "$1?*" | wc -l)" -eq 0 ]; }
busy_cause="another program has the file open. Close it there (or wait until that program is done with it), or \
choose another name, then"

echo "== skelvor-export.exe and skelvor-import.exe, the file they write held throughout (sharing read)"
printf 'I\r\n1200 Version\r\n 45.18 5.28 ABLAN ENRT LF 2105423\r\n99\r\n' >earth_fix.dat
# One program a row: the file it writes | its arguments | its message on the standard error.
cases=$(
  cat <<EOF
VOK.gpx|skelvor-export.exe "Sample Waypoints.csv" --country LF|skelvor-export: Cannot write VOK.gpx: $busy_cause export again.
Mine Waypoints.csv|skelvor-import.exe xplane --fixes earth_fix.dat --output . --name Mine|skelvor-import: .\\Mine Waypoints.csv: $busy_cause import again.
EOF
)
while IFS='|' read -r file arguments message; do
  eval "args=($arguments)"
  expected Finland >"$work/earlier"
  cp "$work/earlier" "$file"
  hold "$file" read input
  status=0
  wine "${args[@]}" >/dev/null 2>"$work/stderr" || status=$?
  release
  check "${args[0]}: exit status 1 ($status)" test "$status" -eq 1
  check "${args[0]}: one line naming the file, the cause and what to do" test "$(tr -d '\r' <"$work/stderr")" = "$message"
  check "${args[0]}: the earlier $file is as it was" earlier_kept "$file"
  check "${args[0]}: no temporary file is left beside it" nothing_beside "$file"
done <<<"$cases"
rm "Mine Waypoints.csv" earth_fix.dat # the window lists the fix files of its folder

echo "== skelvor-export.exe, VOK.gpx held for half a second"
hold VOK.gpx read 500
wine skelvor-export.exe "Sample Waypoints.csv" --country LF || true
release
check "the export started during the hold writes VOK.gpx as the Linux build writes it" cmp -s VOK.gpx <(expected LF)

echo "== skelvor.exe"
cp "$work/earlier" VOK.gpx
wine skelvor.exe &
window=$!
wid=$(timeout 60 bash -c 'until xdotool search --onlyvisible --name "^Skelvor$" 2>/dev/null; do sleep 0.2; done' |
  head -n 1 || true)
[ -n "$wid" ] || { echo "FAIL: no Skelvor window appeared" >&2; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$wid")"
# Clicks at a point of the client area, positions from the window's control table.
click() { xdotool mousemove --sync $((X + $1)) $((Y + $2)) click 1; }
# The files are listed by name: the three samples, then the two world files.
# Under Wine with no window manager, the first keys after the program starts are lost: a harmless Home takes them.
click 40 16 && xdotool key Home
click 40 16 && xdotool key Home Down Down # Sample Waypoints.csv
click 130 66 && xdotool type --delay 30 fra
click 416 66 # Select All
hold VOK.gpx read input
click 516 164 # Show in PlanePlotter
# The message box stands beside the window, under the same title; Ctrl+C puts its text on the clipboard.
message_box() { xdotool search --onlyvisible --name '^Skelvor$' 2>/dev/null | grep -vx "$wid" | head -n 1; }
box_shown() { [ -n "$(message_box)" ]; }
wait_for "a message box" box_shown
xdotool windowfocus --sync "$(message_box)" key ctrl+c
wine "$testaid" clipboard | tr -d '\r' >"$work/message"
for said in "The waypoints were not written." "Cannot write Z:" "VOK.gpx: $busy_cause export again." "They are kept."; do
  check "the message box says: $said" grep -qF -- "$said" "$work/message"
done
xdotool key Return
# The window takes no click until the box has gone, which a loaded machine may take a while to show.
box_gone() { [ -z "$(message_box)" ]; }
wait_for "the message box to close" box_gone
check "the window, held: the earlier VOK.gpx is as it was" earlier_kept VOK.gpx
check "the window, held: no temporary file is left beside it" nothing_beside VOK.gpx
release
click 516 164 # Show in PlanePlotter, once the hold has ended
same_as_france() { cmp -s VOK.gpx <(expected France); }
wait_for "VOK.gpx with the waypoints of France" same_as_france
echo "ok: the window, the hold ended: the same waypoints exported again, as the Linux build writes them"

echo "== The console's output code page"
# A program run from a Command Prompt sets the console to UTF-8 while it runs: the code page the prompt had must be
# back after it, whichever way it ends. Wine gives a program a console only on a terminal, which script(1) provides.
# One run a row: how it ends (ran: status 0, failed: any other), then the command line, without quotes, which Wine's
# command line of cmd would take apart.
cp "Sample Waypoints.csv" Waypoints.csv
runs=(
  'ran|skelvor-export.exe Waypoints.csv --country LF --output cp.gpx'
  'failed|skelvor-export.exe missing.csv --country LF'
  'ran|skelvor-export.exe --version'
  'failed|skelvor-import.exe --bogus'
  'ran|skelvor-import.exe --help'
)
for row in "${runs[@]}"; do
  ends=${row%%|*} run=${row#*|}
  line="..\testaid.exe codepage 850 & $run >NUL 2>&1 & (if errorlevel 1 (echo failed) else (echo ran)) & ..\testaid.exe codepage"
  seen=$(script -qec "$(printf '%q ' wine cmd /c "$line")" /dev/null | perl -pe 's/\e\[[0-9;?]*[A-Za-z]//g; s/\r//g' | xargs)
  check "$run: $ends, with the code page 850 before and after ($seen)" test "$seen" = "850 $ends 850"
done
exit "$failed"
