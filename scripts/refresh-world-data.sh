#!/usr/bin/env bash
# Rebuilds the shipped world fix files, data/World Airports.csv and data/World Navaids.csv, from OurAirports dumps
# (https://ourairports.com/data/: airports.csv and navaids.csv, public domain; gzip-compressed copies are accepted).
# Usage: scripts/refresh-world-data.sh AIRPORTS.csv NAVAIDS.csv
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: $0 AIRPORTS.csv NAVAIDS.csv" >&2
  exit 2
fi
airports=$(realpath "$1")
navaids=$(realpath "$2")
cd "$(dirname "$0")/.."

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
unpacked() {
  case "$1" in
    *.gz) gzip -dc "$1" >"$scratch/$(basename "$1" .gz)" && echo "$scratch/$(basename "$1" .gz)" ;;
    *) echo "$1" ;;
  esac
}
airports=$(unpacked "$airports")
navaids=$(unpacked "$navaids")

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DSKELVOR_BUILD_TESTS=OFF >/dev/null
cmake --build build/release -j"$(nproc)" --target skelvor-import >/dev/null
build/release/bin/skelvor-import ourairports --airports "$airports" --navaids "$navaids" --output data --name World
echo "Check the codes in the new files against the territory table (core/territory.cpp):"
cut -d';' -f2 "data/World Airports.csv" "data/World Navaids.csv" | sort -u | while read -r code; do
  grep -q "\"$code|" core/territory.cpp || echo "  no name for the code $code"
done
