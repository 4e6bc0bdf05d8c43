#!/usr/bin/env bash
# The game on a desktop with a real window manager (openbox) on a virtual
# screen of W x H: the whole window, the manager's frame and title bar
# included, is on the screen, and clicks on the toolbar at the bottom land
# where they look (read back from the game's state file).
#
#   desktop.sh GAME WxH
#
# Run from the game's directory (build/run). Starts its own display and
# window manager, so it needs none and leaves the caller's alone.
set -euo pipefail

game=$1
size=$2
for tool in Xvfb openbox xdotool xprop xwininfo; do
  if ! command -v "$tool" >/dev/null; then
    echo "desktop: $tool is not installed" >&2
    exit 77
  fi
done

source "$(dirname "$0")/../support/scratch.sh"
dir="$(new_scratch desktop)"
state=$dir/state.txt
pids=()
finish() {
  local status=$? pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  stop_display
  drop_scratch "$dir" "$status"
}
trap finish EXIT
source "$(dirname "$0")/lib.sh"

fail() {
  echo "desktop ($size): $*" >&2
  cat "$dir"/*.log >&2 2>/dev/null || true
  exit 1
}

# waitfor LIMIT WHAT COMMAND...: runs COMMAND until it succeeds; LIMIT
# seconds only end a run that hangs.
waitfor() {
  local limit=$1 what=$2
  shift 2
  local end=$((SECONDS + limit))
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || fail "$what did not happen within $limit s"
    sleep 0.1
  done
}

own_display "$size"

# The window manager, ready once it names itself on the root window.
HOME="$dir" openbox --sm-disable >"$dir/openbox.log" 2>&1 &
pids+=($!)
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
waitfor 120 "openbox's start" wm_ready

"$game" --seed 5 --fixed-dt 0.05 --mute --state-file "$state" >"$dir/game.log" 2>&1 &
game_pid=$!
pids+=("$game_pid")
running_frames() {
  kill -0 "$game_pid" 2>/dev/null || fail "the game ended"
  [ -s "$state" ]
}
waitfor 300 "the game's first frame" running_frames

window=$(xdotool search --sync --name '^(Cells|-?[0-9]+:-?[0-9]+ +FPS)' | head -n 1)
[ -n "$window" ] || fail "the game's window was not found"
# The frame's extents: set by the manager when it takes the window on.
framed() { xprop -id "$window" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '='; }
waitfor 120 "the window's frame" framed
read -r fl fr ft fb < <(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= *//; s/,/ /g')
info=$(xwininfo -id "$window")
value() { awk -F: -v k="$1" '$1 ~ k { gsub(/ /, "", $2); print $2; exit }' <<<"$info"; }
x=$(value "Absolute upper-left X")
y=$(value "Absolute upper-left Y")
w=$(value "Width")
h=$(value "Height")
screen_w=${size%x*}
screen_h=${size#*x}
echo "desktop: screen $size, window ${w}x${h} at $x,$y, frame left $fl right $fr top $ft bottom $fb"
[ "$ft" -gt 0 ] || fail "the window has no title bar: no window manager framed it"
[ $((x - fl)) -ge 0 ] && [ $((y - ft)) -ge 0 ] || fail "the frame's top-left corner is off the screen"
[ $((x + w + fr)) -le "$screen_w" ] && [ $((y + h + fb)) -le "$screen_h" ] \
  || fail "the frame reaches past the screen's edge ($((x + w + fr)),$((y + h + fb)))"

# The farm (1920 x 1080) is scaled to fit the window and centred in it.
read -r scale left top < <(awk -v w="$w" -v h="$h" 'BEGIN {
  s = w / 1920; if (h / 1080 < s) s = h / 1080
  printf "%.6f %.3f %.3f\n", s, (w - 1920 * s) / 2, (h - 1080 * s) / 2 }')
# click X Y: a click on farm point (X, Y), at its place on the screen.
click() {
  local px py
  read -r px py < <(awk -v x="$1" -v y="$2" -v s="$scale" -v l="$left" -v t="$top" -v ox="$x" -v oy="$y" \
    'BEGIN { printf "%d %d\n", ox + l + x * s + 0.5, oy + t + y * s + 0.5 }')
  xdotool mousemove "$px" "$py" click 1
}
mode_is() { kill -0 "$game_pid" 2>/dev/null && awk -v m="$1" '$1 == "mode" && $2 == m { ok = 1 } END { exit !ok }' "$state"; }

# The magnifier and the shop's basket on the toolbar at the bottom, and the
# shop's close button at the top.
click 738 1000
waitfor 120 "the sorting window's opening" mode_is 1
click 738 1000
waitfor 120 "the sorting window's closing" mode_is 0
click 884 1000
waitfor 120 "the shop's opening" mode_is 3
click 1346 173
waitfor 120 "the shop's closing" mode_is 0
echo "desktop: the whole frame is on the $size screen and the toolbar's clicks took effect"
