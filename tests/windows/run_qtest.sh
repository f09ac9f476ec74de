#!/usr/bin/env bash
# Runs a Qt Test program of the Windows build under Wine and prints its log. Under Wine, Qt Test's log never reaches a
# pipe, so it goes to a file, printed once the program ends; the exit status is the program's.
# Arguments: the Wine wrapper of the build, the test program, its own arguments.
set -uo pipefail
emulator=$1
program=$2
shift 2
log=$(mktemp --suffix=.txt)
trap 'rm -f "$log"' EXIT
"$emulator" "$program" -o "Z:${log//\//\\},txt" "$@"
status=$?
cat "$log"
exit "$status"
