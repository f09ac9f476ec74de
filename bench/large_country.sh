#!/usr/bin/env bash
# Measures the real program and skelvor-export on a very large country: a generated waypoints file of 3,000,000 lines
# (97.2 MB of 2^20 bytes, 101,882,980 bytes) whose largest country, AG (Solomon Islands), holds 2,850,000 fixes,
# the other 150,000 lines shared by 149 further countries (makefixfile PATH 3000000 150 2850000).
#  - In the real window, for each step of the road (the click on the file, the pick of the country by typing its
#    name, Select All, Show in PlanePlotter), the wall time from the moment the input is sent to the moment the
#    program stops using processor time, and the peak resident memory above the idle window during the step
#    (VmHWM of /proc/PID/status, reset through /proc/PID/clear_refs as the step starts), also as a multiple of the
#    file's size. The end of a step is the last change of utime + stime (/proc/PID/stat), polled every 20 ms, once it
#    has not changed for half a second. Targets: pick under 2 s, Select All under 0.3 s, export under 2 s, peak above
#    idle at most 4 x the file. The export must hold 2,850,000 waypoints.
#  - Then Select within range around the first row's fix, 250 nm, from the press of Enter in the dialog (target under
#    1 s), and the export of that selection, which must be byte for byte skelvor-export FILE --near LAT,LON --within
#    250nm --country AG with the fix's coordinates.
#  - skelvor-export FILE --country AG --output PATH on the same file: the median wall time of 3 runs and the largest
#    peak resident memory (GNU time), also as a multiple of the file's size (targets: under 1.5 s, at most 2.5 x the
#    file), and whether its output is byte for byte the window's VOK.gpx.
# The window needs about 2 GB on this file; the machine needs room for it, the file and two exports on the disk.
#
# Usage: bench/large_country.sh BUILD_DIR [LANG]
#   BUILD_DIR holds bin/skelvor, bin/skelvor-export and bench-bin/makefixfile (configure with -DSKELVOR_BUILD_BENCH=ON);
#   LANG defaults to en_US.UTF-8, the programs run with it and LC_ALL unset. Runs itself under xvfb-run when no
#   display is set; needs xdotool and GNU time (/usr/bin/time).
set -euo pipefail
build=$(cd "$1" && pwd)
lang=${2:-en_US.UTF-8}
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$build" "$lang"
fi
command -v xdotool >/dev/null || { echo "missing tool: xdotool" >&2; exit 1; }
for tool in "$build/bin/skelvor" "$build/bin/skelvor-export" "$build/bench-bin/makefixfile" /usr/bin/time; do
  [ -x "$tool" ] || { echo "missing $tool: build with -DSKELVOR_BUILD_BENCH=ON; GNU time is the package time" >&2; exit 1; }
done
# The script's own tools read and print numbers the C way; only the programs measured run in LANG.
export LC_ALL=C

lines=3000000
countries=150
largest=2850000
code_expected=AG
name="Solomon Islands"   # the name of AG in the territory table, the first slot, which the generator makes largest
step_limit_s=600         # a step that has not ended by then fails the run

work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
cp "$build/bin/skelvor" "$build/bin/skelvor-export" "$work/"
file="$work/Large Waypoints.csv"
code=$("$build/bench-bin/makefixfile" "$file" "$lines" "$countries" "$largest")
[ "$code" = "$code_expected" ] || { echo "the largest country is $code, not $code_expected ($name)" >&2; exit 1; }
file_bytes=$(stat -c %s "$file")
if [ "$file_bytes" -lt $((95 * 1048576)) ] || [ "$file_bytes" -gt $((99 * 1048576)) ]; then
  echo "the generated file holds $file_bytes bytes, not about 97 MB" >&2
  exit 1
fi
sync   # the generated file goes to the disk now, not in the export's wait for its own file

# A pipe that never delivers: read -t on it sleeps without starting a process.
exec {never}<> <(:)
now_us() { now=${EPOCHREALTIME//[!0-9]/}; }
cpu_ticks() {
  local -a stat
  read -r -a stat <"/proc/$pid/stat"
  ticks=$((stat[13] + stat[14]))
}
# The program's resident memory in kB: VmRSS now, or VmHWM, the peak since the last reset.
status_kb() {
  local key value rest
  while read -r key value rest; do
    [ "$key" = "$1:" ] && { echo "$value"; return; }
  done <"/proc/$pid/status"
}
waypoints() { [ -f "$work/VOK.gpx" ] && grep -c '<wpt ' "$work/VOK.gpx" || echo 0; }
always() { :; }
vok_written() { [ -f "$work/VOK.gpx" ]; }   # the safe write renames its file into place at the very end

# step READY COMMAND...: sends the input COMMAND gives and waits until the program has used no processor time for half
# a second and READY holds. Sets step_us (from just before the input to the last change of the processor time seen),
# after_input_us (the same from the end of the input, for an input that lasts, as typing does) and step_peak_kb (the
# peak resident memory during the step).
step() {
  local ready=$1 start sent last prev
  shift
  echo 5 >"/proc/$pid/clear_refs"   # VmHWM starts again from the resident memory of now
  cpu_ticks
  prev=$ticks
  now_us
  start=$now
  last=$now
  "$@"
  now_us
  sent=$now
  while :; do
    read -r -t 0.02 -u "$never" || true
    cpu_ticks
    now_us
    if [ "$ticks" != "$prev" ]; then
      prev=$ticks
      last=$now
    elif [ $((now - last)) -ge 500000 ] && "$ready"; then
      break
    fi
    [ $((now - start)) -lt $((step_limit_s * 1000000)) ] ||
      { echo "a step has not ended after $step_limit_s s: $*" >&2; exit 1; }
    kill -0 "$pid" 2>/dev/null || { echo "the window ended during: $*" >&2; exit 1; }
  done
  step_us=$((last - start))
  after_input_us=$((last > sent ? last - sent : 0))
  step_peak_kb=$(status_kb VmHWM)
}
# The input of a step alone: the pointer is moved beforehand, outside the time.
point() { xdotool mousemove --sync $((X + $1)) $((Y + $2)); }
press() { xdotool click 1; }
type_name() { xdotool type --delay 30 "$name"; }
press_enter() { xdotool key Return; }

env -u LC_ALL LANG="$lang" "$work/skelvor" &
pid=$!
wid=$(timeout 30 xdotool search --sync --onlyvisible --name '^Skelvor$' | head -n 1 || true)
[ -n "$wid" ] || { echo "no Skelvor window appeared" >&2; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$wid")"
step always true
idle_kb=$(status_kb VmRSS)

results=()
record() { results+=("$1|$step_us|$step_peak_kb|$2"); }
point 40 16                                  # the generated file, the only one listed
step always press
record "Click on the file" "-"
point 130 66 && step always press            # into the name box
step always type_name                        # its largest country, typed: from the first key to the end
record "Pick (typing the name)" 2
typing_us=$((step_us - after_input_us))
point 416 66                                 # Select All
step always press
record "Select All" 0.3
sync                                         # what came before goes to the disk outside the export's time
point 516 164                                # Show in PlanePlotter
step vok_written press
record "Show in PlanePlotter" 2
written=$(waypoints)
mv "$work/VOK.gpx" "$work/all.gpx"
# The first row's coordinates, as the export of every row, in list order, writes them first.
near=$(grep -m 1 -o '<wpt lat="[^"]*" lon="[^"]*"' "$work/all.gpx" | sed 's/.*lat="\([^"]*\)" lon="\([^"]*\)"/\1,\2/')
point 250 88 && xdotool click 3 && sleep 1   # the menu of the first row
xdotool key Down Return                      # Select within range of ...
# A window that goes while xdotool looks at it (the menu's) ends that search, so the search is made again.
dialog_shown() { xdotool search --onlyvisible --name '^Select within range$' >/dev/null 2>&1; }
for _ in $(seq 60); do dialog_shown && break; sleep 0.5; done
dialog_shown || { echo "the dialog Select within range did not appear" >&2; exit 1; }
xdotool type --delay 30 250nm                # the distance
step always press_enter                      # OK
record "Select within 250 nm" 1
point 516 164                                # Show in PlanePlotter
step vok_written press
end_kb=$(status_kb VmRSS)
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
pid=
[ "$written" -eq "$largest" ] || { echo "the export holds $written waypoints, not $largest" >&2; exit 1; }
gpx_bytes=$(stat -c %s "$work/all.gpx")
env -u LC_ALL LANG="$lang" "$work/skelvor-export" "$file" --near "$near" --within 250nm --country "$code" \
  --output "$work/near.gpx" 2>/dev/null
cmp -s "$work/near.gpx" "$work/VOK.gpx" && near_same=yes || near_same=no

# skelvor-export on the same file and country, 3 runs; each output is compared with the window's.
same=yes
: >"$work/times.txt"
for _ in 1 2 3; do
  rm -f "$work/export.gpx"
  sync
  /usr/bin/time -f "%e %M" -o "$work/time.txt" env -u LC_ALL LANG="$lang" \
    "$work/skelvor-export" "$file" --country "$code" --output "$work/export.gpx" >/dev/null
  cat "$work/time.txt" >>"$work/times.txt"
  cmp -s "$work/export.gpx" "$work/all.gpx" || same=no
done

{
  printf '%s\n' "${results[@]}"
  echo "export|$(sort -n "$work/times.txt" | sed -n 2p | cut -d ' ' -f 1)|$(sort -n -k 2 "$work/times.txt" | tail -n 1 | cut -d ' ' -f 2)"
} | awk -F '|' -v lang="$lang" -v file="$file_bytes" -v gpx="$gpx_bytes" -v idle="$idle_kb" -v end="$end_kb" \
  -v lines="$lines" -v countries="$countries" -v largest="$largest" -v code="$code" -v name="$name" -v same="$same" -v typing="$typing_us" \
  -v near="$near" -v near_same="$near_same" -v near_waypoints="$(waypoints)" '
  function verdict(ok) { return ok ? "ok" : "MISSED" }
  BEGIN {
    mb = 1024 * 1024
    printf "Locale: LANG=%s\n", lang
    printf "Fix file: %.1f MB, %d lines of %d countries; %s (%s) holds %d fixes\n", file / mb, lines, countries, code, name, largest
    printf "Export: %.1f MB, %d waypoints\n", gpx / mb, largest
    printf "Idle window: %.1f MB resident; at the end: %.1f MB\n\n", idle * 1024 / mb, end * 1024 / mb
    printf "%-24s %9s %10s   %19s %8s %12s\n", "Window step", "Time", "Target", "Peak above idle", "x file", "Target 4 x"
  }
  $1 != "export" {
    seconds = $2 / 1e6; growth = ($3 - idle) * 1024
    target = ($4 == "-") ? "-" : sprintf("< %s s %s", $4, verdict(seconds < $4))
    printf "%-24s %7.2f s %10s   %16.1f MB %6.2f x %12s\n", $1, seconds, target, growth / mb, growth / file, verdict(growth <= 4 * file)
    if ($1 ~ /^Pick/)
      printf "%-24s (of which %.2f s went by while the %d keys were typed, xdotool --delay 30)\n", "", typing / 1e6, length(name)
  }
  $1 == "export" {
    printf "\nskelvor-export --country %s (3 runs)\n", code
    printf "Wall time, median:   %6.2f s   (target under 1.5 s: %s)\n", $2, verdict($2 < 1.5)
    printf "Peak resident:       %6.1f MB = %.2f x the file (target at most 2.5 x: %s)\n", $3 * 1024 / mb, $3 * 1024 / file, verdict($3 * 1024 <= 2.5 * file)
    printf "Same bytes as the window'\''s VOK.gpx: %s\n", same
    printf "\nThe window'\''s selection within 250 nm of %s: %d waypoints, the bytes of skelvor-export --near: %s\n", near, near_waypoints, near_same
  }'
