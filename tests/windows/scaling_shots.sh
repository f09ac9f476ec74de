#!/usr/bin/env bash
# Takes a picture of skelvor.exe of the Windows release under Wine at 100, 125, 150 and 200 % display scaling, with
# World Navaids.csv read and France listed, to look at: OUTDIR/window-<percent>.png. Checks that the client area grows
# with the scale, which shows that Qt takes the scale from Windows' setting. Arguments: the release zip, the folder for
# the pictures.
set -euo pipefail
zip=$(realpath "$1")
mkdir -p "$2"
out=$(realpath "$2")
for tool in wine wineserver Xvfb xdotool unzip import; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done
[ -d /usr/share/wine/fonts ] || { echo "missing Wine's fonts: fonts-wine" >&2; exit 1; }

work=$(mktemp -d)
pid='' xvfb='' status=0
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'kill $pid 2>/dev/null || true; wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT

# An X server without a window manager: the X window Wine makes is the client area, with no frame.
Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
DISPLAY=:$(cat "$work/display")
export DISPLAY

unzip -q "$zip" -d "$work"
program=$(find "$work" -name skelvor.exe | head -n 1)

# The fonts of a Windows system, as in window_test.sh: Wine's own Tahoma in the Windows fonts folder, and Consolas.
mkdir -p "$WINEPREFIX"
wineboot -i >/dev/null 2>&1
cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Consolas /d 'DejaVu Sans Mono' /f >/dev/null 2>&1
wineserver -w

# Scale in percent and the dots per inch Windows stores for it.
for scale in 100:96 125:120 150:144 200:192; do
  percent=${scale%:*}
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "${scale#*:}" /f >/dev/null 2>&1
  wineserver -w
  wine "$program" &
  pid=$!
  wid=$(timeout 60 xdotool search --sync --onlyvisible --name '^Skelvor$' | head -n 1)
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  # The client area is 569 x 359 pixels of the window, scaled and rounded to the nearest device pixel.
  expected="$(((569 * percent + 50) / 100))x$(((359 * percent + 50) / 100))"
  echo "$percent %: client area ${WIDTH}x${HEIGHT}, $expected expected"
  [ "${WIDTH}x${HEIGHT}" = "$expected" ] || status=1
  # Clicks at a point given in the window's own (unscaled) pixels.
  click() { xdotool mousemove --sync $((X + $1 * percent / 100)) $((Y + $2 * percent / 100)) click 1; }
  click 40 16 && xdotool key End # World Navaids.csv
  click 130 66 && xdotool type --delay 30 fra && sleep 1
  import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$out/window-$percent.png"
  click 516 336 # End
  wait "$pid" || true
  wineserver -w
done
exit "$status"
