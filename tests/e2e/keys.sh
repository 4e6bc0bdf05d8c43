#!/usr/bin/env bash
# The player's keys and the pause, with real X input (xdotool) on the virtual
# display, read back from the game's state file: P, Space, Esc, M, F1 and F11,
# a click that only ends the pause, the pause when another window takes the
# focus, and a farm saved while paused starting again unpaused.
#
#   keys.sh GAME
#
# Run from the game's directory (build/run). Starts a virtual display of its
# own, so no other window is on it.
set -euo pipefail

game=$1

for tool in Xvfb xdotool xmessage; do
  if ! command -v "$tool" >/dev/null; then
    echo "keys: $tool is not installed" >&2
    exit 77
  fi
done

source "$(dirname "$0")/../support/scratch.sh"
dir="$(new_scratch keys)"
state=$dir/state.txt
pid=""
other=""
finish() {
  local status=$?
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  [ -n "$pid" ] && wait "$pid" 2>/dev/null || true
  [ -n "$other" ] && kill "$other" 2>/dev/null || true
  [ -n "$other" ] && wait "$other" 2>/dev/null || true
  stop_display
  drop_scratch "$dir" "$status"
}
trap finish EXIT
source "$(dirname "$0")/lib.sh"
own_display 1920x1080

fail() {
  echo "keys: $WHAT: $*" >&2
  echo "keys: last state:" >&2
  cat "$state" >&2 2>/dev/null || true
  exit 1
}

snapshot=""
read_state() { snapshot=$(cat "$state" 2>/dev/null || true); }
field() { awk -v name="$1" -v i="${2:-1}" '$1 == name { print $(i + 1) }' <<<"$snapshot"; }
frame_now() {
  read_state
  local f
  f=$(field frame)
  echo "${f:-0}"
}
# frames N: waits until the game has run N more whole frames.
frames() {
  local start
  start=$(frame_now)
  for _ in $(seq 1 1200); do
    [ "$(frame_now)" -ge $((start + $1)) ] && return 0
    sleep 0.05
  done
  fail "the game stopped running frames"
}
# expect NAME VALUE: two frames on, line NAME holds VALUE.
expect() {
  frames 2
  read_state
  [ "$(field "$1")" = "$2" ] || fail "expected $1 = $2, got '$(field "$1")'"
}

WHAT="the start"
# start [ARGS...]: starts the game on a fresh state file and finds its window.
start() {
  rm -f "$state"
  "$game" --seed 5 --fixed-dt 0.1 --mute --window-size 1366x768 --save "$dir/farm.json" --state-file "$state" "$@" \
    >"$dir/stdout.txt" 2>"$dir/stderr.txt" &
  pid=$!
  for _ in $(seq 1 600); do
    [ -s "$state" ] && break
    kill -0 "$pid" 2>/dev/null || fail "the game ended before its first frame: $(cat "$dir/stderr.txt")"
    sleep 0.1
  done
  [ -s "$state" ] || fail "no state file after a minute"
  find_window
  xdotool windowfocus --sync "$window"
}
window=""
find_window() {
  window=$(timeout 60 xdotool search --sync --onlyvisible --name '^(Cells|-?[0-9]+:-?[0-9]+ +FPS)' | head -n 1 || true)
  [ -n "$window" ] || fail "the game's window was not found"
  eval "$(xdotool getwindowgeometry --shell "$window")" # WIDTH, HEIGHT
}
# to X Y: the pointer onto farm point (X, Y), the farm scaled to fit and centred.
to() {
  local px py
  read -r px py < <(awk -v x="$1" -v y="$2" -v w="$WIDTH" -v h="$HEIGHT" 'BEGIN {
    s = w / 1920; if (h / 1080 < s) s = h / 1080
    printf "%d %d\n", (w - 1920 * s) / 2 + x * s + 0.5, (h - 1080 * s) / 2 + y * s + 0.5 }')
  xdotool mousemove --window "$window" "$px" "$py"
}
click() {
  to "$1" "$2"
  xdotool click 1
}
key() { xdotool key "$1"; }

scan=(738 1000)
music=(1030 1000)

start

WHAT="P pauses: the play time stands while the frames go on"
key p
expect paused 1
read_state
seconds=$(field seconds)
frames 30
read_state
[ "$(field seconds)" = "$seconds" ] || fail "the play time moved from $seconds to $(field seconds)"

WHAT="any key goes on, and time runs again"
key space
expect paused 0
frames 30
read_state
[ "$(field seconds)" -gt "$seconds" ] || fail "the play time stayed at $seconds"

WHAT="Space pauses"
key space
expect paused 1
WHAT="a click on the sorting button only ends the pause"
click "${scan[@]}"
expect paused 0
expect mode 0
WHAT="the next click opens the sorting window"
click "${scan[@]}"
expect mode 1
WHAT="Esc closes it"
key Escape
expect mode 0
expect paused 0
WHAT="Esc with nothing open pauses"
key Escape
expect paused 1
key a
expect paused 0

WHAT="M switches the music on and off, as the button does"
expect music off
key m
expect music on
click "${music[@]}"
expect music off
key m
expect music on
key m
expect music off

WHAT="F1 shows the controls card, paused; Esc goes on"
key F1
expect paused 1
key Escape
expect paused 0
expect mode 0

WHAT="another window taking the focus pauses"
xmessage -geometry 300x100+10+10 "another window" &
other=$!
otherwin=$(timeout 60 xdotool search --sync --onlyvisible --class Xmessage | head -n 1 || true)
[ -n "$otherwin" ] || fail "the other window did not show"
xdotool windowfocus --sync "$otherwin"
expect paused 1
WHAT="back in focus it waits for the player"
xdotool windowfocus --sync "$window"
frames 10
expect paused 1
key x
expect paused 0
kill "$other" 2>/dev/null || true
wait "$other" 2>/dev/null || true
other=""

WHAT="F11 fills the screen and goes back to the window"
read -r screen_w screen_h < <(xdotool getdisplaygeometry)
key F11
frames 5
find_window
[ "$WIDTH" = "$screen_w" ] && [ "$HEIGHT" = "$screen_h" ] || fail "full screen is ${WIDTH}x${HEIGHT}, not ${screen_w}x${screen_h}"
xdotool windowfocus --sync "$window"
click "${scan[@]}"
expect mode 1
key F11
frames 5
find_window
[ "$WIDTH" = 1366 ] && [ "$HEIGHT" = 768 ] || fail "the window came back at ${WIDTH}x${HEIGHT}"
xdotool windowfocus --sync "$window"
click "${scan[@]}"
expect mode 0

WHAT="a farm saved while paused starts again unpaused"
key p
expect paused 1
read_state
seconds=$(field seconds)
kill -TERM "$pid"
wait "$pid" 2>/dev/null || true
pid=""
[ -s "$dir/farm.json" ] || fail "no farm was saved"
start
expect paused 0
[ "$(field seconds)" -ge "$seconds" ] || fail "the farm started again at $(field seconds) s, not $seconds"
echo "keys: all checks passed"
