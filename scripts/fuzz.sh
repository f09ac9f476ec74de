#!/usr/bin/env bash
# Runs fuzz targets from their committed corpora: each for a bounded time, new inputs kept in a scratch folder so that
# the committed corpus stays as it is. With --grow, the corpus is afterwards replaced by the smallest set of inputs
# (old and new) that reaches the same coverage. Prints, per target, the executions and the coverage reached.
# Usage: scripts/fuzz.sh [--seconds N] [--bin DIR] [--grow] [TARGET...]   (default: every target in DIR)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds=15
bin="$root/build/sanitize/fuzz-bin"
grow=0
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds="$2"; shift 2 ;;
    --bin) bin="$2"; shift 2 ;;
    --grow) grow=1; shift ;;
    *) targets+=("$1"); shift ;;
  esac
done
if [ ${#targets[@]} -eq 0 ]; then
  for program in "$bin"/fuzz_*; do targets+=("$(basename "$program")"); done
fi

# Leaks inside the system libraries are no finding of ours; the sanitizers stop at the first real one.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

status=0
for target in "${targets[@]}"; do
  corpus="$root/fuzz/corpus/$target"
  mkdir -p "$corpus"
  scratch="$(mktemp -d)"
  artifacts="$bin/artifacts/$target"
  mkdir -p "$artifacts"
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=1024 -print_final_stats=1
    -artifact_prefix="$artifacts/")
  [ -f "$root/fuzz/$target.dict" ] && options+=(-dict="$root/fuzz/$target.dict")
  log="$scratch.log"
  if "$bin/$target" "${options[@]}" "$scratch" "$corpus" >"$log" 2>&1; then
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    coverage=$(grep -Eo 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -1)
    echo "$target: $executions executions in ${seconds} s, $coverage, corpus $(ls "$corpus" | wc -l) inputs"
  else
    echo "$target: FAILED; the input that broke it is in $artifacts" >&2
    tail -60 "$log" >&2
    status=1
  fi
  if [ "$grow" -eq 1 ] && [ "$status" -eq 0 ]; then
    merged="$(mktemp -d)"
    "$bin/$target" -merge=1 -max_len=1024 "$merged" "$corpus" "$scratch" >"$log.merge" 2>&1
    rm -f "$corpus"/*
    cp "$merged"/* "$corpus"/ 2>/dev/null || true
    rm -rf "$merged"
    echo "$target: corpus now $(ls "$corpus" | wc -l) inputs, $(cat "$corpus"/* | wc -c) bytes"
  fi
  rm -rf "$scratch" "$log" "$log.merge"
done
exit $status
