#!/usr/bin/env bash
# skelvor-export against gpsbabel, whole process against whole process, on generated waypoints files:
#  - all 50,000 waypoints of a one-country file: skelvor-export against gpsbabel converting the same file to GPX 1.0
#    with bench/skelvor_waypoints.style (target: ours at least 10 times faster);
#  - the same country picked out of a 300,000-line file of 150 countries (target: still faster than gpsbabel on the
#    one-country file), and its peak memory (target: at most 3 times the file's size);
#  - --near, the fixes within 250 nm of Lille, out of that file and out of the two world files together (target: the
#    whole process under 80 ms in en_US, and a peak memory above the program's own of at most twice the files' size:
#    the program alone, run on a one-line file, takes several times the world files' size before it reads a line).
# Every program runs RUNS times (default 5), the runs of the programs interleaved; the table gives the median wall
# time, the median CPU time (user + system) and the largest peak resident memory. Each locale given (default C,
# en_US.UTF-8 and fr_FR.UTF-8) is measured in turn, since the order of the rows follows the user's collation.
# The outputs are written twice over: into the temporary folder, on disk as a rule, where skelvor-export's safe write
# waits for the disk (gpsbabel forces nothing to disk); and into a folder in memory (/dev/shm) where the machine has
# one, where both programs' writes cost alike and the figures compare the programs themselves.
# Usage: bench/export_vs_gpsbabel.sh [BUILD DIR] [RUNS] [LOCALE...]
#   BUILD DIR: a build of Skelvor with -DSKELVOR_BUILD_BENCH=ON (default build/bench), which holds bin/skelvor-export
#   and bench-bin/makefixfile.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build/bench}" && pwd)
runs=${2:-5}
shift $(($# < 2 ? $# : 2))
locales=("$@")
[ ${#locales[@]} -gt 0 ] || locales=(C en_US.UTF-8 fr_FR.UTF-8)

program=$build/bin/skelvor-export
world=("$build/bin/World Airports.csv" "$build/bin/World Navaids.csv")
near=(--near 50.63,3.07 --within 250nm)
generator=$build/bench-bin/makefixfile
style=$here/skelvor_waypoints.style
for tool in "$program" "$generator" /usr/bin/time; do
  [ -x "$tool" ] || { echo "missing $tool: build with -DSKELVOR_BUILD_BENCH=ON; GNU time is the package time" >&2; exit 1; }
done
command -v gpsbabel >/dev/null || { echo "gpsbabel is missing: apt-get install gpsbabel" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
one="$work/One Waypoints.csv"
all="$work/Bench Waypoints.csv"
code=$("$generator" "$one" 50000 1 50000)
[ "$("$generator" "$all" 300000 150 50000)" = "$code" ] || { echo "the generated files differ in country" >&2; exit 1; }
size_one=$(stat -c %s "$one")
size_all=$(stat -c %s "$all")
size_world=$(($(stat -c %s "${world[0]}") + $(stat -c %s "${world[1]}")))
tiny="$work/Tiny Waypoints.csv"
printf 'ONE;LF;50.6;3.1\r\n' >"$tiny"

# measure <name> <command...>: one run; appends "wall_ms cpu_ms peak_kb" to $work/<name>. Wall and CPU time are the
# shell's own measure of the program alone, to the millisecond; the peak memory comes from GNU time, in a second run of
# the same command, since its own start would be counted in the times. What earlier runs wrote is put on the disk
# first, outside the times: a program that waits for its own file to reach the disk (skelvor-export does, gpsbabel
# does not) would otherwise wait for theirs too, since ext4 writes the data of a journal commit in one go.
measure() {
  local name=$1
  shift
  local TIMEFORMAT='%3R %3U %3S' times real user system peak
  sync
  times=$({ time LC_ALL="$locale" "$@" >/dev/null 2>"$work/err.txt"; } 2>&1) ||
    { echo "$name failed: $(cat "$work/err.txt")" >&2; exit 1; }
  read -r real user system <<<"$times"
  /usr/bin/time -f "%M" -o "$work/time.txt" env LC_ALL="$locale" "$@" >/dev/null 2>&1
  read -r peak <"$work/time.txt"
  awk -v r="$real" -v u="$user" -v s="$system" -v p="$peak" 'BEGIN { printf "%.1f %.1f %d\n", r * 1000, (u + s) * 1000, p }' \
    >>"$work/$name"
}

median() { sort -n | awk '{ v[NR] = $1 } END { printf "%.1f\n", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
column_of() { awk -v c="$2" '{ print $c }' "$work/$1"; }
peak_of() { column_of "$1" 3 | sort -n | tail -n 1; }

count_waypoints() { grep -c '<wpt ' "$1"; }

echo "skelvor-export against gpsbabel $(gpsbabel -V 2>&1 | awk 'NF { print $NF; exit }'), $runs runs each, $(nproc) cores"
echo "files: one country $size_one bytes (50,000 lines); 150 countries $size_all bytes (300,000 lines); country $code"
places=("$work")
[ -d /dev/shm ] && [ -w /dev/shm ] && places+=("$(mktemp -d /dev/shm/skelvor-bench.XXXXXX)")
trap 'rm -rf "$work" "${places[@]:1}"' EXIT

for locale in "${locales[@]}"; do
  for out in "${places[@]}"; do
    rm -f "$work/ours-one" "$work/ours-all" "$work/gpsbabel" "$work/startup" "$work/near-"*

    for ((run = 0; run < runs; ++run)); do
      measure startup "$program" --version
      measure ours-one "$program" "$one" --country "$code" --output "$out/ours-one.gpx"
      measure gpsbabel gpsbabel -i "xcsv,style=$style" -f "$one" -o gpx,gpxver=1.0 -F "$out/gpsbabel.gpx"
      measure ours-all "$program" "$all" --country "$code" --output "$out/ours-all.gpx"
      measure near-idle "$program" "$tiny" "${near[@]}" --output "$out/near-idle.gpx"
      measure near-all "$program" "$all" "${near[@]}" --output "$out/near-all.gpx"
      measure near-world "$program" "${world[@]}" "${near[@]}" --output "$out/near-world.gpx"
    done
    for gpx in ours-one ours-all gpsbabel; do
      [ "$(count_waypoints "$out/$gpx.gpx")" -eq 50000 ] || { echo "$gpx.gpx does not hold 50,000 waypoints" >&2; exit 1; }
    done

    gpsbabel_ms=$(column_of gpsbabel 1 | median)
    echo
    echo "LC_ALL=$locale, outputs written to $(df --output=fstype "$out" | tail -n 1) ($out)"
    printf '| %-52s | %9s | %8s | %9s |\n' "Whole process" "wall (ms)" "CPU (ms)" "peak (MB)"
    printf '|%s|%s|%s|%s|\n' "------------------------------------------------------" "-----------" "----------" \
      "-----------"
    for row in "startup:skelvor-export --version" "ours-one:skelvor-export, 50,000 of the one-country file" \
      "gpsbabel:gpsbabel xcsv to GPX 1.0, the one-country file" \
      "ours-all:skelvor-export, 50,000 of the 300,000-line file" \
      "near-idle:skelvor-export --near, a one-line file" \
      "near-all:skelvor-export --near, the 300,000-line file" \
      "near-world:skelvor-export --near, the two world files"; do
      name=${row%%:*}
      printf '| %-52s | %9s | %8s | %9.1f |\n' "${row#*:}" "$(column_of "$name" 1 | median)" \
        "$(column_of "$name" 2 | median)" "$(awk -v k="$(peak_of "$name")" 'BEGIN { print k / 1024 }')"
    done
    ours_one_ms=$(column_of ours-one 1 | median)
    ours_all_ms=$(column_of ours-all 1 | median)
    ratio=$(awk -v g="$gpsbabel_ms" -v o="$ours_one_ms" 'BEGIN { printf "%.1f", g / (o > 0 ? o : 1) }')
    memory=$(awk -v k="$(peak_of ours-all)" -v s="$size_all" 'BEGIN { printf "%.2f", k * 1024 / s }')
    verdict() { awk -v a="$1" -v b="$2" 'BEGIN { print (a + 0 >= b + 0) ? "met" : "MISSED" }'; }
    echo "gpsbabel / skelvor-export on the one-country file: ${ratio}x (target 10x: $(verdict "$ratio" 10))"
    echo "skelvor-export on the 300,000-line file against gpsbabel on the one-country file:" \
      "${ours_all_ms} ms against ${gpsbabel_ms} ms ($(verdict "$gpsbabel_ms" "$ours_all_ms"))"
    echo "peak memory on the 300,000-line file: ${memory}x the file's size (target 3x: $(verdict 3 "$memory"))"
    for row in "near-all:$size_all:the 300,000-line file ($(grep -c '<wpt ' "$out/near-all.gpx") waypoints)" \
      "near-world:$size_world:the two world files ($(grep -c '<wpt ' "$out/near-world.gpx") waypoints)"; do
      IFS=: read -r name size what <<<"$row"
      ms=$(column_of "$name" 1 | median)
      above=$(awk -v k="$(peak_of "$name")" -v i="$(peak_of near-idle)" -v s="$size" \
        'BEGIN { printf "%.2f", (k - i) * 1024 / s }')
      whole=$(awk -v k="$(peak_of "$name")" -v s="$size" 'BEGIN { printf "%.2f", k * 1024 / s }')
      echo "--near 50.63,3.07 --within 250nm on $what: ${ms} ms (target 80 ms: $(verdict 80 "$ms")); peak memory" \
        "${above}x the files' size above the program's own, ${whole}x in all (target 2x: $(verdict 2 "$above"))"
    done
  done
done
