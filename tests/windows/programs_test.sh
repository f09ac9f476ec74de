#!/usr/bin/env bash
# Runs skelvor-export.exe and skelvor-import.exe of the Windows release under Wine and the Linux builds natively on the
# same argument lines, each side in a folder of its own holding the same inputs, and checks that both give the same
# exit status, the same output and the same files, byte for byte. Then that both Windows programs, in a program folder
# that cannot be written (as under C:\Program Files), name it and say how to get out.
# Arguments: the Windows program folder or the release zip, the Linux program folder, the test data folder
# (tests/data: the import excerpts and the GPX 1.0 schema).
set -euo pipefail
windows=$(realpath "$1")
linux=$(realpath "$2")
testdata=$(realpath "$3")
for tool in wine wineserver unzip xmllint; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done

work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unwritable=$work/Program\ Files/Skelvor
trap 'wineserver -k 2>/dev/null || true; ! mountpoint -q "$unwritable" || umount "$unwritable"; rm -rf "$work"' EXIT
unset DISPLAY # console programs only: Wine needs no X server for them

if [ -f "$windows" ]; then
  unzip -q "$windows" -d "$work/zip"
  windows=$(find "$work/zip" -name skelvor-export.exe -printf '%h\n' | head -n 1)
fi
[ -f "$windows/skelvor-export.exe" ] || { echo "no skelvor-export.exe in $windows" >&2; exit 1; }
mkdir -p "$WINEPREFIX"
wineserver -p # stays up between the runs, which saves a second each
wineboot -i >/dev/null 2>&1

# Both sides get the same inputs: the world files and the airports sample of their own program folder, which must be
# the same files; the import excerpts; a fix file in Windows-1252 with accented names and CR LF line ends; the
# airports sample under a name beyond ASCII; a GPX file of another program.
failed=0
for shipped in "World Airports.csv" "World Navaids.csv" "Sample Airports.csv"; do
  cmp -s "$windows/$shipped" "$linux/$shipped" ||
    { echo "FAIL: the two releases ship different copies of $shipped"; failed=1; }
done
for side in win lin; do
  mkdir -p "$work/$side"/{each,import,xplane}
  [ "$side" = win ] && from=$windows || from=$linux
  cp "$from/World Airports.csv" "$from/World Navaids.csv" "$work/$side/"
  cp "$from/Sample Airports.csv" "$work/$side/Aérodromes Zoë Airports.csv"
  cp "$testdata"/ourairports-{airports,navaids}.csv "$testdata"/xplane-earth_{fix,nav}.dat "$work/$side/"
  printf '%b\r\n' 'VOR;LF;ORL;0;47.9;1.9;0;0;0;Orl\xe9ans' 'NDB;LF;BSC;0;47.2;6.0;0;0;0;Besan\xe7on' \
    'VOR;LS;ZUE;0;47.6;8.8;0;0;0;Z\xfcrich-Kloten' 'DME;LS;GVA;0;46.2;6.1;0;0;0;Gen\xe8ve \x80 Cointrin' \
    >"$work/$side/Accents Navaids.csv"
  printf '<?xml version="1.0"?>\n<gpx version="1.0" creator="another program"></gpx>\n' >"$work/$side/other.gpx"
done

# One argument line a row, run in order on both sides: program | exit status | how the outputs compare | arguments. Standard error
# is text: Windows ends its lines with CR LF, which reads as LF here. Standard output is compared byte for byte unless
# the row says "text" (the same CR LF reading). "paths": the Windows path separator "\" reads as "/" in both outputs.
# "cause": the system's wording of a cause, last on the message line ("File not found." on Windows, "No such file or
# directory" on Linux), is left out. Inputs are named relative to the working folder, so that a message names them the
# same way on both sides.
cases=$(
  cat <<'EOF'
export | 0 | bytes | "World Airports.csv" --country LF --country Switzerland --output alps.gpx
export | 0 | bytes | "World Navaids.csv" --country France --find vor --output -
export | 0 | bytes | "World Airports.csv" --country Zambia --output trip.gpx
export | 0 | bytes | "World Airports.csv" --country ef --find turku --output trip.gpx --append
export | 0 | paths | "World Navaids.csv" --each-country each
export | 0 | bytes | "World Airports.csv" --list-countries
export | 0 | bytes | "Accents Navaids.csv" --list-countries
export | 0 | bytes | "Accents Navaids.csv" --country LF --country LS --output accents.gpx
export | 0 | bytes | "Accents Navaids.csv" --country LS --find zü --output -
export | 0 | bytes | "Aérodromes Zoë Airports.csv" --country LF --output "Zoë LF.gpx"
export | 1 | cause | missing.csv --country LF
export | 1 | bytes | "World Airports.csv" --country Atlantis
export | 1 | bytes | "World Airports.csv" --country LF --output other.gpx --append
export | 1 | paths cause | "World Airports.csv" --country LF --output nowhere/lf.gpx
export | 2 | bytes | --bogus
export | 2 | bytes | "World Airports.csv" --country
export | 2 | bytes | "World Airports.csv"
import | 0 | text | ourairports --airports ourairports-airports.csv --navaids ourairports-navaids.csv --output import --name Test
import | 0 | text | xplane --fixes xplane-earth_fix.dat --navaids xplane-earth_nav.dat --output xplane --name Excerpt
import | 0 | text | xplane --fixes xplane-earth_fix.dat --terminal --output xplane --name Terminal
import | 1 | cause | ourairports --airports nothere.csv --output import
import | 2 | bytes | ourairports --airports ourairports-airports.csv --output import --name "My Navaids"
import | 2 | bytes | ourairports --output import
import | 2 | bytes | sideways
EOF
)

run() { # side program arguments...: runs one line in the side's folder
  local side=$1 program=$2
  shift 2
  cd "$work/$side"
  if [ "$side" = win ]; then wine "$windows/skelvor-$program.exe" "$@"; else "$linux/skelvor-$program" "$@"; fi
}

n=0
while IFS='|' read -r program expected compare arguments; do
  program=${program// /} expected=${expected// /} n=$((n + 1)) args=()
  eval "args=($arguments)"
  for side in win lin; do
    status=0
    (run "$side" "$program" "${args[@]}") >"$work/$n.$side.out" 2>"$work/$n.$side.err" || status=$?
    echo "$status" >"$work/$n.$side.status"
  done
  sed -i 's/\r$//' "$work/$n.win.err"
  for rule in $compare; do
    case $rule in
      text) sed -i 's/\r$//' "$work/$n.win.out" ;;
      paths) sed -i 's|\\|/|g' "$work/$n.win.out" "$work/$n.win.err" ;;
      cause) sed -i 's|: [^:]*$||' "$work/$n.win.err" "$work/$n.lin.err" ;;
    esac
  done
  verdict=ok
  for part in status out err; do
    cmp -s "$work/$n.win.$part" "$work/$n.lin.$part" || verdict="FAIL ($part differs)"
  done
  [ "$(cat "$work/$n.lin.status")" = "$expected" ] || verdict="FAIL (status $(cat "$work/$n.lin.status"), not $expected)"
  echo "$verdict: skelvor-$program$arguments (status $expected)"
  if [ "$verdict" != ok ]; then
    failed=1
    diff <(head -c 2000 "$work/$n.win.out"; cat "$work/$n.win.err") \
      <(head -c 2000 "$work/$n.lin.out"; cat "$work/$n.lin.err") | head -n 10 || true
  fi
done <<<"$cases"

# The files written, on both sides, and nothing left half written.
if diff -r "$work/win" "$work/lin" >"$work/files.diff"; then
  echo "ok: the two sides wrote the same $(find "$work/lin" -name '*.gpx' -o -name 'T*.csv' -o -name 'E*.csv' | wc -l) files"
else
  echo "FAIL: the files written differ:" && head -n 10 "$work/files.diff"
  failed=1
fi
mapfile -t gpx < <(find "$work/lin" -name '*.gpx' ! -name other.gpx)
xmllint --noout --nonet --schema "$testdata/gpx10.xsd" "${gpx[@]}" 2>"$work/schema.log" ||
  { echo "FAIL: GPX files not valid:" && grep -v validates "$work/schema.log" | head -n 5; failed=1; }
echo "ok: ${#gpx[@]} GPX files valid against the schema"

# The program folder as a read-only view of a copy (so that the clean-up never reaches the tested folder through it):
# Unix rights do not stop root, which the tests may run as. The message names the folder as Windows shows it.
way_out="Move the Skelvor folder to a folder you can write to"
unwritable_run() { # working folder, program, arguments...: status 1 and the one-line message naming the folder
  local status=0 message
  (cd "$1" && wine "$unwritable/skelvor-$2.exe" "${@:3}") >/dev/null 2>"$work/unwritable.err" || status=$?
  message=$(tr -d '\r' <"$work/unwritable.err")
  if [ "$status" -eq 1 ] && [ "$(wc -l <"$work/unwritable.err")" -eq 1 ] &&
    [[ $message == *"Z:${unwritable//\//\\}: "* ]] && [[ $message == *"$way_out"* ]]; then
    echo "ok: skelvor-$2 ${*:3} (status 1, names the folder it cannot write in)"
  else
    echo "FAIL: skelvor-$2 ${*:3}: status $status, $message"
    failed=1
  fi
}
cp -r "$windows" "$work/copy"
mkdir -p "$unwritable"
if mount --bind "$work/copy" "$unwritable" 2>"$work/mount.err" &&
  mount -o remount,bind,ro "$unwritable" 2>"$work/mount.err"; then
  unwritable_run "$work/win" import xplane --fixes xplane-earth_fix.dat
  unwritable_run "$unwritable" export "Sample Airports.csv" --country LF --output lf.gpx
else
  echo "skipped: a program folder that cannot be written: $(head -n 1 "$work/mount.err")"
fi
exit "$failed"
