#!/usr/bin/env bash
# Checks the help documents that the build renders into the program folder: poppler reads each one without complaint,
# on A4 pages, with the picture of the window and the text of its own language, and the help button of that language
# finds it there.
# Usage: help_documents_test.sh <program folder> <source folder>
set -uo pipefail

folder=${1:?usage: help_documents_test.sh <program folder> <source folder>}
sources=${2:?usage: help_documents_test.sh <program folder> <source folder>}

for tool in pdfinfo pdftotext pdfimages; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "FAIL: $tool is missing; install poppler-utils" >&2
    exit 1
  fi
done

maker_host=$(sed -n 's/.*kMakerHost\[\] = "\([^"]*\)";.*/\1/p' "$sources/core/maker.h")
if [ -z "$maker_host" ]; then
  echo "FAIL: cannot find the maker's address in $sources/core/maker.h" >&2
  exit 1
fi

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# Words and phrases that every document holds: the captions of the window and the names of the files.
common=("Show in PlanePlotter" "Add to actual File" "Keep selected" "Save as..." "Select All" "Find" "VOK.gpx"
  "Aide Skelvor.pdf" "Help Skelvor.pdf" "PlanePlotter" "$maker_host" "World Airports.csv" "World Navaids.csv"
  "OurAirports" "skelvor-import ourairports --airports airports.csv --navaids navaids.csv" "earth_fix.dat"
  "-win64-setup.exe" "-win64.zip" 'C:\Program Files' 'C:\Skelvor' "--near 50.63,3.07 --within 250nm"
  "Select within range of LFQQ..." "Select within 250nm of LFQQ")
french=("Choisir un pays" "Code pays" "Sélectionner les points" "Rechercher avec Find" "Tout sélectionner avec Select All"
  "Écrire le fichier GPX" "Balises radio (Navaids) : 10 champs" "Points de cheminement (Waypoints) : 4 champs"
  "Aérodromes (Airports) : 9 champs" "La fenêtre" "Les messages" "Pas pour la navigation" "domaine public"
  "Informations complémentaires" "Exécuter quand même")
english=("Choosing a country" "country code" "Selecting fixes" "Writing the GPX file" "Navaids: 10 fields"
  "Waypoints: 4 fields" "Airports: 9 fields" "The window" "Messages" "Not for navigation" "public domain" "More info"
  "Run anyway")

# check <document> <title> <pattern of its button> <name of the array of its words> <name of the other language's>
check() {
  local document=$1 title=$2 pattern=$3
  local -n words=$4 others=$5
  local path="$folder/$document"

  local info errors
  errors=$(mktemp)
  if ! info=$(pdfinfo "$path" 2>"$errors"); then
    fail "$document: pdfinfo does not accept it: $(cat "$errors")"
    rm -f "$errors"
    return
  fi
  [ -s "$errors" ] && fail "$document: pdfinfo complains: $(cat "$errors")"

  local pages
  pages=$(sed -n 's/^Pages: *//p' <<<"$info")
  if [ -z "$pages" ] || [ "$pages" -lt 2 ] || [ "$pages" -gt 12 ]; then
    fail "$document: $pages pages, expected 2 to 12"
  fi
  grep -q '^Page size:.*(A4)' <<<"$info" || fail "$document: pages are not A4"
  grep -qx "Title: *$title" <<<"$info" || fail "$document: title is not \"$title\""

  local text
  # One space for every run of blanks, no-break spaces included, so that phrases match across line ends.
  text=$(pdftotext -enc UTF-8 "$path" - 2>"$errors" | LC_ALL=C sed 's/\xc2\xa0/ /g' | tr -s '[:space:]' ' ')
  [ -s "$errors" ] && fail "$document: pdftotext complains: $(cat "$errors")"
  rm -f "$errors"
  local word
  for word in "${words[@]}" "${common[@]}"; do
    grep -qF -- "$word" <<<"$text" || fail "$document: missing \"$word\""
  done
  for word in "${others[@]}"; do
    grep -qF -- "$word" <<<"$text" && fail "$document: holds \"$word\" of the other language"
  done
  grep -qF '{{' <<<"$text" && fail "$document: a placeholder was left unfilled"

  local images
  images=$(pdfimages -list "$path" 2>/dev/null | tail -n +3 | wc -l)
  [ "$images" -ge 1 ] || fail "$document: no picture of the window"

  # The button takes the first file that matches its pattern, letter case ignored, in order of name.
  local first
  first=$(cd "$folder" && shopt -s nullglob nocaseglob && for name in $pattern; do
    [ -f "$name" ] && printf '%s\n' "$name"
  done | LC_ALL=C sort -f | head -n 1)
  [ "$first" = "$document" ] || fail "$document: the pattern $pattern finds \"$first\" first"
}

check "Aide Skelvor.pdf" "Aide de Skelvor" "Ai*.pdf" french english
check "Help Skelvor.pdf" "Skelvor Help" "He*.pdf" english french

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "help documents: all checks passed"
