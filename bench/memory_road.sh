#!/usr/bin/env bash
# Measures the memory of the real program over the whole road on the generated 300,000-line waypoints file: the click
# on the file, the pick of its largest country, Select All and the export. It prints the resident memory of the idle
# window, the peak over the road (VmHWM of /proc/PID/status) and the growth against the file's size.
#
# Usage: bench/memory_road.sh BUILD_DIR [LANG]
#   BUILD_DIR holds bin/skelvor and bench-bin/makefixfile (configure with -DSKELVOR_BUILD_BENCH=ON); LANG defaults to
#   en_US.UTF-8. Runs itself under xvfb-run when no display is set; needs xdotool.
set -euo pipefail
build=$(cd "$1" && pwd)
lang=${2:-en_US.UTF-8}
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$build" "$lang"
fi
command -v xdotool >/dev/null || { echo "missing tool: xdotool" >&2; exit 1; }

work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
cp "$build/bin/skelvor" "$work/"
file="$work/Bench Waypoints.csv"
"$build/bench-bin/makefixfile" "$file" >/dev/null
file_bytes=$(stat -c %s "$file")

# The program's resident memory in kB: VmRSS now, or VmHWM, the peak so far.
status_kb() { awk -v key="$1:" '$1 == key { print $2 }' "/proc/$pid/status"; }
# Waits until the program has used no processor time for half a second: the handler it runs has ended.
wait_idle() {
  local last now quiet=0
  last=$(awk '{ print $14 + $15 }' "/proc/$pid/stat")
  while [ "$quiet" -lt 5 ]; do
    sleep 0.1
    now=$(awk '{ print $14 + $15 }' "/proc/$pid/stat")
    if [ "$now" = "$last" ]; then quiet=$((quiet + 1)); else quiet=0; fi
    last=$now
  done
}
waypoints() { [ -f "$work/VOK.gpx" ] && grep -c '<wpt ' "$work/VOK.gpx" || echo 0; }

env -u LC_ALL LANG="$lang" "$work/skelvor" &
pid=$!
wid=$(xdotool search --sync --onlyvisible --name '^Skelvor$' | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$wid")"
click() { xdotool mousemove --sync $((X + $1)) $((Y + $2)) click 1; }

wait_idle
idle_kb=$(status_kb VmRSS)
click 40 16                                               # the generated file, the only one listed
wait_idle
click 130 66 && xdotool type --delay 30 "Solomon Islands"  # its largest country, typed into the name box
wait_idle
click 416 66                                              # Select All
wait_idle
click 516 164                                             # Show in PlanePlotter
for _ in $(seq 600); do [ "$(waypoints)" -ge 50000 ] && break; sleep 0.05; done
wait_idle
written=$(waypoints)
peak_kb=$(status_kb VmHWM)
end_kb=$(status_kb VmRSS)
[ "$written" -eq 50000 ] || { echo "the export holds $written waypoints, not 50000" >&2; exit 1; }

awk -v lang="$lang" -v file="$file_bytes" -v idle="$idle_kb" -v peak="$peak_kb" -v end="$end_kb" 'BEGIN {
  mb = 1024 * 1024; growth = (peak - idle) * 1024
  printf "Locale: LANG=%s\n", lang
  printf "Fix file:             %6.1f MB (300,000 lines; 50,000 rows picked, selected and exported)\n", file / mb
  printf "Idle window:          %6.1f MB resident\n", idle * 1024 / mb
  printf "Peak over the road:   %6.1f MB resident (VmHWM)\n", peak * 1024 / mb
  printf "At the end:           %6.1f MB resident\n", end * 1024 / mb
  printf "Peak above idle:      %6.1f MB = %.2f x the file size (target at most 3 x)\n", growth / mb, growth / file
}'
