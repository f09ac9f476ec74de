#!/usr/bin/env bash
# Checks Skelvor's Windows release under Wine: what the zip holds; that its programs start from the unpacked folder
# in a fresh prefix, with no DLL but the zip's own; and that the installer installs for the current user, registers
# the program and uninstalls exactly what it installed, leaving the user's own files.
# Usage: package_test.sh Skelvor-<version>-win64.zip Skelvor-<version>-win64-setup.exe
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: $0 Skelvor-<version>-win64.zip Skelvor-<version>-win64-setup.exe" >&2
  exit 2
fi
zip=$(readlink -f "$1")
setup=$(readlink -f "$2")
version=$(basename "$zip" | sed -n 's/^Skelvor-\(.*\)-win64\.zip$/\1/p')
top=Skelvor-$version

work=$(mktemp -d)
prefixes=()
cleanup() {
  for prefix in "${prefixes[@]}"; do WINEPREFIX=$prefix wineserver -k 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
# check DESCRIPTION COMMAND...: runs the command and reports it.
check() {
  if "${@:2}"; then echo "ok    $1"; else echo "FAIL  $1"; failures=$((failures + 1)); fi
}

# Wine without Mono, Gecko or desktop menu entries, without any folder of DLLs beyond the program's own. Wine links
# the user's Documents and Desktop to the home folder: a home of the test's own keeps the real one out of reach.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset WINEPATH
export HOME=$work/home
mkdir -p "$HOME"
user=$(id -un)
fresh_prefix() {
  export WINEPREFIX=$work/$1
  prefixes+=("$WINEPREFIX")
  wineboot -i >/dev/null 2>&1
  wineserver -w
}

echo "== The zip: $zip"
expected=(LICENSE README.txt skelvor.exe skelvor-export.exe skelvor-import.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll
  libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll platforms/qwindows.dll styles/qmodernwindowsstyle.dll
  "Sample Airports.csv" "Sample Navaids.csv" "Sample Waypoints.csv" "World Airports.csv" "World Navaids.csv"
  "Help Skelvor.pdf" "Aide Skelvor.pdf")
printf "$top/%s\n" "${expected[@]}" | LC_ALL=C sort > "$work/expected"
unzip -Z1 "$zip" | grep -v '/$' | LC_ALL=C sort > "$work/zipped"
check "it holds $top/ with the programs, their DLLs and plugins, the fix files, the help, LICENSE, README.txt and nothing else" \
  diff "$work/expected" "$work/zipped"
unzip -q "$zip" "$top/README.txt" "$top/*.exe" "$top/*.dll" -d "$work"
readme=$work/$top/README.txt
check "README.txt has Windows line ends" test "$(grep -c $'\r$' "$readme")" = "$(wc -l < "$readme")"
check "README.txt names version $version" grep -q "Skelvor $version for Windows" "$readme"

# The programs' resources as the PE header lists them by type: the icon (3 and its group, e), the version (10) and,
# in the window program alone, the manifest (18). Then what the version says, and the Windows versions the manifest
# declares (10 and 11).
resource_types() {
  x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^[0-9a-f]*   Entry: ID: 0x0*\([0-9a-f]*\),.*/\1/p' | xargs
}
version_value() { strings -el "$1" | grep -A1 -x "$2" | sed -n 2p; }
for program in skelvor:"3 e 10 18" skelvor-export:"3 e 10" skelvor-import:"3 e 10"; do
  name=${program%%:*} types=${program#*:}
  exe=$work/$top/$name.exe
  check "$name.exe has the resources $types" test "$(resource_types "$exe")" = "$types"
  said="$(version_value "$exe" ProductName) $(version_value "$exe" FileVersion) $(version_value "$exe" OriginalFilename)"
  check "$name.exe says it is Skelvor $version, $name.exe" test "$said" = "Skelvor $version $name.exe"
done
check "skelvor.exe declares Windows 10 and 11" grep -q '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}' "$work/$top/skelvor.exe"
# Qt is the supported 6.8 LTS, as its DLLs' version resources say, the style plugin included.
for dll in Qt6Core Qt6Gui Qt6Widgets styles/qmodernwindowsstyle; do
  said="$(version_value "$work/$top/$dll.dll" FileVersion) $(version_value "$work/$top/$dll.dll" ProductVersion)"
  check "$dll.dll says it is Qt 6.8 (file and product version: $said)" \
    bash -c '[[ $1 =~ ^6\.8\.[0-9.]+\ 6\.8\.[0-9.]+$ ]]' _ "$said"
done

echo "== The unpacked zip in a fresh Wine prefix"
fresh_prefix zip
documents=$WINEPREFIX/drive_c/users/$user/Documents
mkdir -p "$documents"
unzip -q "$zip" -d "$documents"
folder=$documents/$top
# Qt's command-line parser prints --version into a console window, or else shows it in a message box; Wine gives a
# program a console only on a terminal, which script(1) provides. Its screen updates are turned back into text.
console() {
  script -qec "$(printf '%q ' wine "$@")" /dev/null |
    perl -pe 's/\e\[(\d*)C/" " x ($1 || 1)/ge; s/\e\[[0-9;?]*[A-Za-z]//g; s/\r//g'
}
for program in skelvor-export skelvor-import; do
  check "$program.exe --version says $program $version" \
    test "$(console "$folder/$program.exe" --version)" = "$program $version"
done

# The window, under a virtual display: it must show, with the Windows platform and style plugins loaded from the
# folder (Wine's loaddll trace lists every DLL loaded and from where). Its title is "Skelvor"; Qt's message box for a
# missing platform plugin is titled after the program file, "skelvor" (xdotool's search ignores letter case).
# A Wine session that began without the display, as the programs' --version above may leave one running, has no
# display driver, and a window made in it never reaches the X server ("no driver could be loaded"): the window's
# session starts afresh, under the X server. The first start in a fresh prefix may take Wine 8 most of a minute.
show_window() {
  wineserver -k 2>/dev/null || true
  wineserver -w
  WINEDEBUG=+loaddll wine "$1/skelvor.exe" 2> "$2" &
  local wine=$! shown=1 window
  for _ in $(seq 120); do
    for window in $(xdotool search --onlyvisible --name '^Skelvor$' 2>/dev/null); do
      [ "$(xdotool getwindowname "$window")" = Skelvor ] && shown=0
    done
    [ $shown -eq 0 ] && break
    kill -0 "$wine" 2>/dev/null || { echo "      skelvor.exe ended without showing its window" >&2; break; }
    sleep 1
  done
  if [ $shown -ne 0 ] && kill -0 "$wine" 2>/dev/null; then echo "      no window after 120 s" >&2; fi
  wineserver -k
  return $shown
}
check "skelvor.exe shows its window" \
  xvfb-run -a bash -c "$(declare -f show_window)"'; show_window "$1" "$2"' _ "$folder" "$work/loaded"
for dll in Qt6Core Qt6Gui Qt6Widgets libstdc++-6 libgcc_s_seh-1 libwinpthread-1 platforms..qwindows \
  styles..qmodernwindowsstyle; do
  check "skelvor.exe loaded ${dll/..//}.dll from its folder" \
    grep -qiE "Loaded L\".*\\\\$top\\\\+${dll//+/\\+}\\.dll\" at [0-9a-f]+: native" "$work/loaded"
done

echo "== The installer in a fresh Wine prefix"
fresh_prefix setup
wine "$setup" /S
wineserver -w
installed=$WINEPREFIX/drive_c/users/$user/AppData/Local/Programs/Skelvor
shortcut="$WINEPREFIX/drive_c/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Skelvor.lnk"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Skelvor'
listing() { (cd "$1" && find . -type f | sed 's#^\./##' | LC_ALL=C sort); }
{ printf '%s\n' "${expected[@]}" Uninstall.exe | LC_ALL=C sort; } > "$work/expected-installed"
check "/S installs the zip's files and Uninstall.exe into %LOCALAPPDATA%\\Programs\\Skelvor" \
  diff "$work/expected-installed" <(listing "$installed")
check "the Start menu has Skelvor.lnk" test -f "$shortcut"
wine reg query "$key" | tr -d '\r' > "$work/registry" || true
for value in "DisplayName REG_SZ Skelvor" "DisplayVersion REG_SZ $version" "Publisher REG_SZ the Skelvor developers" \
  'DisplayIcon REG_SZ C:\\users\\[^\\]+\\AppData\\Local\\Programs\\Skelvor\\skelvor.exe' \
  'InstallLocation REG_SZ C:\\users\\[^\\]+\\AppData\\Local\\Programs\\Skelvor' \
  'UninstallString REG_SZ "C:\\.*\\Skelvor\\Uninstall.exe"' \
  'QuietUninstallString REG_SZ "C:\\.*\\Skelvor\\Uninstall.exe" /S' \
  "NoModify REG_DWORD 0x1" "NoRepair REG_DWORD 0x1" "EstimatedSize REG_DWORD 0x[0-9a-f]{4,}"; do
  check "Apps and features: $value" grep -qE "^ +${value// /\\s+}\$" "$work/registry"
done
(cd "$installed" && wine skelvor-export.exe "Sample Waypoints.csv" --country LF --output Trip.gpx)
check "the installed skelvor-export.exe writes a GPX file from a sample" \
  bash -c 'xmllint --noout "$1" && grep -q "<wpt " "$1"' _ "$installed/Trip.gpx"

# The user's own files in the program folder: a fix file, a GPX file and the export above.
printf 'MYFIX;LF;45.0;5.0\r\n' > "$installed/My Fixes.csv"
cp "$installed/Trip.gpx" "$installed/Other.gpx"
# The uninstaller copies itself elsewhere and returns at once: wait for the copy.
wine "$installed/Uninstall.exe" /S
wineserver -w
check "/S uninstalls and leaves exactly the user's files" \
  diff <(printf '%s\n' "My Fixes.csv" Other.gpx Trip.gpx) <(listing "$installed")
check "the Start menu shortcut is gone" test ! -e "$shortcut"
check "the Apps and features entry is gone" bash -c '! wine reg query "$1" >/dev/null 2>&1' _ "$key"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "All checks passed"
