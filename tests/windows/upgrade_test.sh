#!/usr/bin/env bash
# Checks the installer under Wine where a second release meets the first: over an older Skelvor that is running, the
# silent setup ends with a non-zero exit code and changes nothing; once Skelvor has ended, it upgrades: the older
# version's own uninstaller removes what only it shipped, the user's fix and GPX files stay, and "Apps and features"
# holds one entry, the new version. A silent setup into a folder that cannot be written changes nothing either.
# The older installer is built here from the same script, with one file more and an older version number.
# Arguments: the setup program, the Windows build folder (build/windows/build: files.nsh and the icon).
set -euo pipefail
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
setup=$(realpath "$1")
build=$(realpath "$2")
version=$(basename "$setup" | sed -n 's/^Skelvor-\(.*\)-win64-setup\.exe$/\1/p')
source_folder=$(dirname "$setup")/Skelvor-$version
# shellcheck source=wineprefix.sh
source "$(dirname "$0")/wineprefix.sh"
WAIT_SECONDS=60
# shellcheck source=../e2e/wait_for.sh
source "$(dirname "$0")/../e2e/wait_for.sh"

work=$(mktemp -d)
window='' installer='' readonly_folder=$work/readonly
trap 'kill $window $installer 2>/dev/null || true; wineserver -k 2>/dev/null || true
  ! mountpoint -q "$readonly_folder" || umount "$readonly_folder"; rm -rf "$work"' EXIT

failed=0
check() { # description, then the command that must succeed
  if "${@:2}"; then echo "ok: $1"; else echo "FAIL: $1" && failed=1; fi
}

# The older installer: the same files and one that this version no longer ships. Compression is left out, for speed.
older_only="Older Only.txt"
echo "shipped by the older version alone" >"$work/$older_only"
older=$work/$older_only perl -pe 'if (/^!macro (\w+)/) { $macro = $1 } elsif (/^!macroend/) {
    ($name = $ENV{older}) =~ s#.*/##;
    print $macro eq "SkelvorInstallFiles" ? "  File \"$ENV{older}\"\n" : "  Delete \"\$INSTDIR\\$name\"\n" }' \
  "$build/packaging/files.nsh" >"$work/older-files.nsh"
makensis -V1 -X"SetCompressor /FINAL zlib" -X"SetCompress off" -DVERSION=0.0.1 -DSOURCE="$source_folder" -DFILES="$work/older-files.nsh" \
  -DICON="$build/packaging/skelvor.ico" -DSIZE_KB=1 -DOUTFILE="$work/older-setup.exe" \
  "$(dirname "$0")/../../packaging/windows/skelvor.nsi"

skelvor_wine_prefix "$work/prefix"
installed=$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Programs/Skelvor
uninstall='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall'
# Every installed file with its checksum, and the uninstall entries: what must not change when a setup is refused.
state() { (cd "$installed" && find . -type f -exec md5sum {} + | LC_ALL=C sort) && wine reg query "$uninstall" /s; }
listing() { (cd "$installed" && find . -type f | sed 's#^\./##' | LC_ALL=C sort); }
shown() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; } # whether a window of that title shows
setup_status() { # setup program, arguments...: its exit status, once it has ended
  local status=0
  wine "$@" || status=$?
  echo "$status"
}

check "the older version installs" test "$(setup_status "$work/older-setup.exe" /S)" -eq 0
check "it has installed $older_only" test -f "$installed/$older_only"
printf 'MYFIX;LF;45.0;5.0\r\n' >"$installed/My Fixes.csv"
cp "$installed/Sample Waypoints.csv" "$installed/Trip.gpx"

wine "$installed/skelvor.exe" &
window=$!
wait_for "the installed Skelvor's window" shown '^Skelvor$'
state >"$work/before"
# The setup, and the uninstaller run in its folder (_?=), as the setup runs it, so that its exit status is its own.
for refused in setup uninstaller; do
  if [ "$refused" = setup ]; then
    status=$(setup_status "$setup" /S)
  else
    status=$(setup_status "$installed/Uninstall.exe" /S "_?=$(winepath -w "$installed")")
  fi
  check "while Skelvor runs, the $refused ends with a non-zero exit code ($status)" test "$status" -ne 0
  check "while Skelvor runs, the $refused changes no installed file and no uninstall entry" diff "$work/before" <(state)
done

kill "$window" && wait "$window" || true
window=''
status=$(setup_status "$setup" /S)
check "once Skelvor has ended, setup.exe /S upgrades ($status)" test "$status" -eq 0
{ cd "$source_folder" && find . -type f | sed 's#^\./##' && printf '%s\n' Uninstall.exe "My Fixes.csv" Trip.gpx; } |
  LC_ALL=C sort >"$work/expected"
check "the upgrade holds this version's files and the user's, and not $older_only" \
  diff "$work/expected" <(listing)
check "the user's fix file is as it was" test "$(cat "$installed/My Fixes.csv")" = $'MYFIX;LF;45.0;5.0\r'
wine reg query "$uninstall" /s | tr -d '\r' >"$work/entries"
check "Apps and features holds one Skelvor" test "$(grep -cE '^ +DisplayName +REG_SZ +Skelvor$' "$work/entries")" -eq 1
check "its version is $version" grep -qE "^ +DisplayVersion +REG_SZ +$version\$" "$work/entries"

# A folder that cannot be written, as C:\Program Files is for a user: a read-only view of an empty folder (Unix rights
# do not stop root, which the tests may run as).
mkdir -p "$work/empty" "$readonly_folder"
if mount --bind "$work/empty" "$readonly_folder" 2>"$work/mount.err" &&
  mount -o remount,bind,ro "$readonly_folder" 2>"$work/mount.err"; then
  state >"$work/before"
  status=$(setup_status "$setup" /S "/D=Z:${readonly_folder//\//\\}\\Skelvor")
  check "setup.exe /S into a folder that cannot be written ends with a non-zero exit code ($status)" \
    test "$status" -ne 0
  check "and leaves the installed Skelvor as it was" diff "$work/before" <(state)
  # The same folder on the folder page, as a user meets it: Return on "I Agree", then on "Install". A message box says
  # why before anything changes; the installer's windows are titled "Skelvor <version> Setup ", its message boxes
  # the same without the space.
  wine "$setup" "/D=Z:${readonly_folder//\//\\}\\Skelvor" &
  installer=$!
  wait_for "the setup's window" shown "^Skelvor $version Setup \$"
  xdotool key --delay 500 Return Return
  wait_for "a message box" shown "^Skelvor $version Setup\$"
  check "the folder page refuses it, and the installed Skelvor is as it was" diff "$work/before" <(state)
  kill "$installer"
else
  echo "skipped: a folder that cannot be written: $(head -n 1 "$work/mount.err")"
fi
exit "$failed"
