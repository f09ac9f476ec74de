#!/usr/bin/env bash
# Runs the benchmarks in the C, English and French locales, each pinned through LANG, and prints the medians of the
# window's waits against their targets, with the file click measured against reading the file and counting its lines
# in the same run.
#
# Usage: bench/run_benchmarks.sh BUILD_DIR [REPETITIONS] [LOCALE...]
#   BUILD_DIR holds bench-bin/ (configure with -DSKELVOR_BUILD_BENCH=ON, release build); REPETITIONS defaults to 5;
#   the locales default to C.UTF-8 en_US.UTF-8 fr_FR.UTF-8. No system locale needs to be installed: Qt reads LANG.
set -euo pipefail
build=$(cd "$1" && pwd)
repetitions=${2:-5}
shift $(($# < 2 ? $# : 2))
locales=("$@")
[ ${#locales[@]} -gt 0 ] || locales=(C.UTF-8 en_US.UTF-8 fr_FR.UTF-8)

for lang in "${locales[@]}"; do
  log=$(mktemp)
  for bench in core_bench gpx_bench window_bench; do
    [ -x "$build/bench-bin/$bench" ] || continue
    env -u LC_ALL QT_QPA_PLATFORM=offscreen LANG="$lang" "$build/bench-bin/$bench" \
      --benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true 2>&1 | tee -a "$log"
  done
  awk -v lang="$lang" -v reps="$repetitions" '
    $1 ~ /_median$/ {
      name = $1; sub(/(\/real_time)?_median$/, "", name)
      real[name] = $2; cpu[name] = $4
    }
    function row(label, name, target) {
      if (!(name in real)) return
      printf "%-44s %9.2f ms %9.2f ms   %s\n", label, real[name], cpu[name], target
    }
    END {
      printf "\n== Window waits in LANG=%s, median of %d runs\n", lang, reps
      printf "%-44s %12s %12s   %s\n", "", "real", "cpu", "target"
      row("Read the file and count its lines", "BM_ReadFileAndCountLines", "")
      row("Click on the file", "BM_ClickFile", "<= 2 x reading")
      if (("BM_ClickFile" in real) && ("BM_ReadFileAndCountLines" in real))
        printf "%-44s %9.2f x\n", "  click / reading", real["BM_ClickFile"] / real["BM_ReadFileAndCountLines"]
      row("Pick of the largest country (50,000 rows)", "BM_PickLargestCountry", "< 20 ms")
      row("  of which ordering the rows", "BM_SortRowsOfLargestCountry", "")
      row("Find", "BM_Find", "< 25 ms")
      row("Select All", "BM_SelectAll", "< 25 ms")
      row("Select within 250 nm of the first row", "BM_SelectWithinRange", "< 20 ms")
      row("Export of 50,000 rows", "BM_ExportAll", "< 25 ms")
    }' "$log"
  rm -f "$log"
done
