#!/usr/bin/env bash
# Starts the built program under a real window manager (Openbox) and checks what the manager makes of the window: the
# frame, title bar included, stands in the middle of the screen, and the window can be closed but neither maximised
# nor resized. Run inside an X server (xvfb-run) with a 1024x768 screen. Argument: the program folder.
set -euo pipefail
program_folder=$1
for tool in openbox xdotool xprop xwininfo; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done

openbox --sm-disable >/dev/null 2>&1 &
wm=$!
pid=
trap 'kill $pid $wm 2>/dev/null || true' EXIT

# shellcheck source=wait_for.sh
source "$(dirname "$0")/wait_for.sh"
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_for "the window manager" wm_running

"$program_folder/skelvor" &
pid=$!
wid=$(xdotool search --sync --onlyvisible --name '^Skelvor$' | head -n 1)

# The frame's gaps to the screen's edges, left and right, top and bottom, differ by one pixel at most.
frame_centred() {
  local extents x y
  extents=$(xprop -id "$wid" -notype _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ',')
  [ -n "$extents" ] || return 1
  read -r left right top bottom <<<"$extents"
  x=$(xwininfo -id "$wid" | sed -n 's/.*Absolute upper-left X: *//p')
  y=$(xwininfo -id "$wid" | sed -n 's/.*Absolute upper-left Y: *//p')
  local gap_left=$((x - left)) gap_right=$((1024 - x - 569 - right))
  local gap_top=$((y - top)) gap_bottom=$((768 - y - 359 - bottom))
  gaps="left $gap_left, right $gap_right, top $gap_top, bottom $gap_bottom"
  local dx=$((gap_left - gap_right)) dy=$((gap_top - gap_bottom))
  ((top > 0 && dx * dx <= 1 && dy * dy <= 1))
}
gaps="none: no frame"
for _ in $(seq 200); do frame_centred && break; sleep 0.05; done
frame_centred || { echo "the frame is not centred: gaps $gaps" >&2; exit 1; }

actions=$(xprop -id "$wid" -notype _NET_WM_ALLOWED_ACTIONS)
grep -q '_NET_WM_ACTION_CLOSE' <<<"$actions" || { echo "the window cannot be closed: $actions" >&2; exit 1; }
if grep -Eq '_NET_WM_ACTION_(RESIZE|MAXIMIZE)' <<<"$actions"; then
  echo "the window can be resized or maximised: $actions" >&2
  exit 1
fi
echo "1 passed, 0 failed"
