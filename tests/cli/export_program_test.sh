#!/usr/bin/env bash
# Runs the built skelvor-export as a script would: its exit status, its one-line messages, what it writes and what it
# leaves alone.
# Usage: export_program_test.sh <skelvor-export> <GPX 1.0 schema>
set -uo pipefail

program=${1:?usage: export_program_test.sh <skelvor-export> <GPX 1.0 schema>}
schema=${2:?usage: export_program_test.sh <skelvor-export> <GPX 1.0 schema>}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# run <expected status> <pattern of the message, or ""> <arguments...>: the status, and for a failure exactly one
# message line, naming the program, that matches the pattern.
run() {
  local status=$1 pattern=$2
  shift 2
  "$program" "$@" >out.txt 2>err.txt
  local got=$?
  [ "$got" -eq "$status" ] || fail "$*: exit $got, expected $status ($(head -c 300 err.txt))"
  if [ -n "$pattern" ]; then
    head -n 1 err.txt | grep -qE -- "^skelvor-export: $pattern" || fail "$*: message \"$(head -n 1 err.txt)\", expected $pattern"
    local lines
    lines=$(grep -vc "^Try 'skelvor-export --help'.$" err.txt)
    [ "$lines" -eq 1 ] || fail "$*: $lines message lines"
  elif [ "$status" -eq 0 ] && [ -s err.txt ]; then
    fail "$*: says \"$(cat err.txt)\" on success"
  fi
}

valid() { xmllint --noout --nonet --schema "$schema" "$1" 2>/dev/null || fail "$1 is not valid GPX 1.0"; }

printf 'ABLAN;LF;45.18;5.28\r\nBAGNA;LF;47.05;2.90\r\nARNOD;EG;51.87;-1.92\r\nLUSAK;FL;-15.3;28.4\r\nPLAIS;Fl;-20.3;57.6\r\nODD;a/b;1;2\r\nEVEN;A_B;3;4\r\nNONE;;5;6\r\nTOWN;Zambia;7;8\r\nCUT;XX;9\r\n' \
  >"My Waypoints.csv"
cp "My Waypoints.csv" "Plain.csv"

echo "== Arguments"
run 2 "" ; grep -q "^skelvor-export: " err.txt || fail "no message without arguments"
run 2 "give one fix file" "My Waypoints.csv" "Plain.csv" --country LF
run 2 "Unknown option 'bogus'" "My Waypoints.csv" --bogus
run 2 "Missing value after '--country'" "My Waypoints.csv" --country
run 2 "give --country, --each-country or --list-countries" "My Waypoints.csv"
run 2 "give --country, --each-country or --list-countries" "My Waypoints.csv" --country LF --list-countries
run 2 "--output and --append go with --country only" "My Waypoints.csv" --each-country maps --output x.gpx
run 2 "--find does not go with --list-countries" "My Waypoints.csv" --list-countries --find a
run 2 "--append needs a file" "My Waypoints.csv" --country LF --append --output -
while IFS='|' read -r message args; do
  # shellcheck disable=SC2086 # the arguments of a row are split on spaces
  run 2 "$message" "My Waypoints.csv" $args
done <<'EOF_ROWS'
--near and --within go together|--near 45,5
--near and --within go together|--within 10km --list-countries
--near does not go with --each-country|--near 45,5 --within 10km --each-country maps
--country does not go with --list-countries|--near 45,5 --within 10km --list-countries --country LF
--near 91,5: the latitude 91 lies outside -90 to 90|--near 91,5 --within 10km
--near 45,-181: the longitude -181 lies outside -180 to 180|--near 45,-181 --within 10km
--near 45: give the point as LAT,LON|--near 45 --within 10km
--within -3km: the distance must be a positive number|--near 45,5 --within -3km
--within 10mi: the unit "mi" is neither km nor nm|--near 45,5 --within 10mi
--within 10: give the distance with its unit, km or nm|--near 45,5 --within 10
EOF_ROWS
[ -e VOK.gpx ] || [ -e maps ] && fail "bad arguments wrote something"

run 0 "" --help
grep -q "^Examples:" out.txt || fail "--help shows no examples"
grep -q -- "--each-country" out.txt || fail "--help does not list --each-country"
grep -q -- "--near 50.63,3.07 --within 250nm" out.txt || fail "--help gives no example of --near"
run 0 "" --version
grep -qE "^skelvor-export [0-9]+\.[0-9]+\.[0-9]+$" out.txt || fail "--version says \"$(cat out.txt)\""

echo "== User errors"
run 1 "Cannot read Missing Waypoints.csv: " "Missing Waypoints.csv" --country LF
run 1 "Plain.csv: the file name tells no kind of fixes" Plain.csv --country LF
run 1 "My Waypoints.csv: Spain \(code LE\) is not in the file" "My Waypoints.csv" --country Spain
run 1 "My Waypoints.csv: \"Atlantis\" is neither a country code" "My Waypoints.csv" --country LF --country Atlantis
run 1 "My Waypoints.csv: no waypoint to write: the countries chosen have no row that holds \"zzz\"" \
  "My Waypoints.csv" --country LF --find zzz
run 1 "My Waypoints.csv: no waypoint to write" "My Waypoints.csv" --country XX
run 1 "Cannot write .*no such folder/VOK.gpx: " "My Waypoints.csv" --country LF --output "no such folder/VOK.gpx"
mkdir folder.gpx
run 1 "Cannot write .*folder.gpx: it is a folder" "My Waypoints.csv" --country LF --output folder.gpx
[ -e VOK.gpx ] && fail "a failed export wrote VOK.gpx"
cp "My Waypoints.csv" fixes.before
run 1 "Cannot write .*My Waypoints.csv: it is the fix file being read" "My Waypoints.csv" --country LF \
  --output "./My Waypoints.csv"
cmp -s "My Waypoints.csv" fixes.before || fail "an export wrote over its own fix file"

printf '<?xml version="1.0"?>\r\n<gpx creator="Someone Else"></gpx>\r\n' >theirs.gpx
cp theirs.gpx theirs.before
run 1 "theirs.gpx: Skelvor did not write this file, so nothing is added to it" \
  "My Waypoints.csv" --country LF --output theirs.gpx --append
cmp -s theirs.gpx theirs.before || fail "--append changed a file that Skelvor did not write"

if [ -w /dev/full ]; then
  "$program" "My Waypoints.csv" --country LF --output - >/dev/full 2>err.txt
  status=$?
  [ "$status" -eq 1 ] || fail "a full standard output: exit $status"
  grep -qx "skelvor-export: standard output: No space left on device" err.txt ||
    fail "a full standard output: \"$(cat err.txt)\""
fi

echo "== A folder without write rights"
# The user may read the folder locked but not write it (as nobody when the test runs as root); a copy of the program
# stands in it, so that it is also the folder of the program itself, where VOK.gpx goes when run from there.
as_other() { if [ "$(id -u)" -eq 0 ]; then setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; else "$@"; fi; }
mkdir locked && cp "$program" locked/skelvor-export && chmod 755 . && chmod 555 locked
if as_other touch locked/probe 2>/dev/null; then
  echo "skipped: folder rights are not enforced for this user"
else
  advice="you cannot write in this folder\\. Choose a folder you can write to"
  while IFS='|' read -r launch args expected; do
    # shellcheck disable=SC2086 # the arguments of a row are split on spaces
    (cd locked && as_other $launch "../My Waypoints.csv" $args) >out.txt 2>err.txt
    status=$?
    [ "$status" -eq 1 ] || fail "$launch $args in a locked folder: exit $status"
    grep -qxE "skelvor-export: $work/locked: $expected" err.txt || fail "$launch $args: \"$(cat err.txt)\""
  done <<EOF_ROWS
$program|--country LF --output $work/locked/VOK.gpx|$advice \(--output\)\.
$program|--each-country $work/locked|$advice \(--each-country\)\.
./skelvor-export|--country LF|you cannot write in this folder\. Move the Skelvor folder to a folder you can write to, or install Skelvor with its installer\.
EOF_ROWS
  [ "$(ls -A locked)" = skelvor-export ] || fail "a locked folder holds $(ls -A locked | tr '\n' ' ')"
fi
chmod 755 locked

echo "== Never a partly written file"
run 0 "" "My Waypoints.csv" --country EG --output small.gpx
cp small.gpx small.before
awk 'BEGIN { for (i = 0; i < 20000; i++) printf "W%05d;LF;45.0;5.0\r\n", i }' >"Big Waypoints.csv"
# A file size limit of 64 KiB makes the write fail part-way, as a full disk does.
(trap '' XFSZ; ulimit -f 64; "$program" "Big Waypoints.csv" --country LF --output small.gpx 2>err.txt)
status=$?
[ "$status" -eq 1 ] || fail "a write cut short: exit $status"
grep -q "^skelvor-export: Cannot write .*small.gpx: " err.txt || fail "a write cut short: \"$(cat err.txt)\""
cmp -s small.gpx small.before || fail "a write cut short changed the earlier file"
leftovers=$(find . -maxdepth 1 -name 'small.gpx?*' | wc -l)
[ "$leftovers" -eq 0 ] || fail "a write cut short left $leftovers temporary files"

echo "== Exports"
run 0 "" "My Waypoints.csv" --country LF
valid VOK.gpx
[ "$(grep -c '<wpt ' VOK.gpx)" -eq 2 ] || fail "--country LF did not write 2 waypoints"
run 0 "" "My Waypoints.csv" --country LF --output -
cmp -s out.txt VOK.gpx || fail "--output - differs from the file"
run 0 "" "My Waypoints.csv" --country eg --append
[ "$(grep -o '<name>[A-Z]*' VOK.gpx | tr '\n' ' ')" = "<name>ABLAN <name>BAGNA <name>ARNOD " ] ||
  fail "--append wrote $(grep -o '<name>[A-Z]*' VOK.gpx | tr '\n' ' ')"
run 0 "" "My Waypoints.csv" --country Mauritius --append --output new.gpx
[ "$(grep -c '<name>PLAIS</name>' new.gpx)" -eq 1 ] || fail "--append onto no file did not write it"
[ -s out.txt ] && fail "an export printed \"$(cat out.txt)\""

echo "== Listing"
run 0 "" "My Waypoints.csv" --list-countries
expected=$(printf '\t\t1\na/b\t\t1\nA_B\t\t1\nEG\tUnited Kingdom\t1\nFL\tZambia\t1\nFl\tMauritius\t1\nLF\tFrance\t2\nXX\t\t0\nZambia\t\t1')
[ "$(LC_ALL=C sort out.txt)" = "$(LC_ALL=C sort <<<"$expected")" ] || fail "--list-countries printed:
$(cat out.txt)"

echo "== Fixes within range of a point, from two files"
printf 'NDB;LF;NEAR;1;45.1;5.2;0;0;LO;Grenoble\r\nNDB;EG;COMMA;1;45,1;5.2;0;0;LO;Comma\r\n' >"My Navaids.csv"
run 0 "1 fix without usable coordinates was left out" "My Waypoints.csv" "My Navaids.csv" --near 45.18,5.28 \
  --within 20nm --output near.gpx
valid near.gpx
[ "$(grep -o '<name>[A-Z]*' near.gpx | tr '\n' ' ')" = "<name>ABLAN <name>NEAR " ] ||
  fail "--near wrote $(grep -o '<name>[A-Z]*' near.gpx | tr '\n' ' ')"
run 0 "1 fix without usable" "My Navaids.csv" "My Waypoints.csv" --near=-20.3,57.6 --within 1km --list-countries
[ "$(cat out.txt)" = "$(printf 'Fl\tMauritius\t1')" ] || fail "--near --list-countries printed: $(cat out.txt)"
run 0 "no fix within 1km of 0,0 was found; the GPX file holds no waypoint" "My Waypoints.csv" --near 0,0 \
  --within 1km --output empty.gpx
valid empty.gpx

echo "== One file per country"
run 0 "" "My Waypoints.csv" --each-country "maps/out"
# Which of a/b and A_B comes first, and so keeps the plain name, is the collation's choice.
lower() { tr 'A-Z' 'a-z' | LC_ALL=C sort; }
expected_files=$(printf '%s\n' "_.gpx" "a_b.gpx" "a_b (a_b).gpx" "France.gpx" "Mauritius.gpx" "United Kingdom.gpx" \
  "Zambia (Zambia).gpx" "Zambia.gpx")
[ "$(ls maps/out | lower)" = "$(lower <<<"$expected_files")" ] || fail "--each-country wrote: $(ls maps/out)"
[ "$(wc -l <out.txt)" -eq 8 ] || fail "--each-country listed $(wc -l <out.txt) files"
grep -qP '^a/b\tmaps/out/a_b( \(a_b\))?\.gpx$' out.txt || fail "--each-country does not list a/b: $(cat out.txt)"
for file in maps/out/*.gpx; do valid "$file"; done
grep -q '<name>LUSAK</name>' maps/out/Zambia.gpx || fail "Zambia.gpx does not hold the fix of FL"
grep -q '<name>TOWN</name>' "maps/out/Zambia (Zambia).gpx" || fail "the code Zambia did not get its own file"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "skelvor-export: all checks passed"
