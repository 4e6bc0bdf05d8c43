#!/usr/bin/env bash
# Plays the real game with real X input (xdotool) on the virtual display, at
# whatever frame rate the renderer manages, and reads the game's own state
# file back after every action: each click and drag must take effect.
#
#   xinput.sh GAME full              30 toggles of the sorting window, 20 eggs
#                                    dragged into a carton with the hens about,
#                                    the shop's plus over eggs on the hidden table
#   xinput.sh GAME short WxH         in a window of W x H: every toolbar button
#                                    and one egg dragged into a carton
#   xinput.sh GAME shapes            presses on the sockets' see-through corners,
#                                    a story message waiting for the shop, and
#                                    an egg let go in the yard
#
# Run from the game's directory (build/run). Starts a virtual display of its
# own, so no other window is on it.
set -euo pipefail

game=$1
plan=${2:-full}
size=${3:-}

for tool in Xvfb xdotool; do
  if ! command -v "$tool" >/dev/null; then
    echo "xinput: $tool is not installed" >&2
    exit 77
  fi
done
source "$(dirname "$0")/lib.sh"
own_display 1920x1080

source "$(dirname "$0")/../support/scratch.sh"
dir="$(new_scratch xinput)"
state=$dir/state.txt
# One game second per frame, so the hens grow up and lay within a minute.
args=(--seed 5 --fixed-dt 1 --mute --state-file "$state")
# A fifth of a second per frame: the story's seconds go by as a player sees them.
[ "$plan" = shapes ] && args=(--seed 5 --fixed-dt 0.2 --mute --state-file "$state")
[ -n "$size" ] && args+=(--window-size "$size")
"$game" "${args[@]}" >"$dir/stdout.txt" 2>"$dir/stderr.txt" &
pid=$!
finish() {
  local status=$?
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  stop_display
  drop_scratch "$dir" "$status"
}
trap finish EXIT

fail() {
  echo "xinput: $*" >&2
  echo "xinput: last state:" >&2
  cat "$state" >&2 2>/dev/null || true
  exit 1
}

# --- the state file ---------------------------------------------------------

snapshot=""
read_state() {
  snapshot=$(cat "$state" 2>/dev/null || true)
}
# field NAME [INDEX]: the INDEX-th value (1 first) of line NAME of the snapshot.
field() {
  awk -v name="$1" -v i="${2:-1}" '$1 == name { print $(i + 1) }' <<<"$snapshot"
}
frame_now() {
  read_state
  local f
  f=$(field frame)
  echo "${f:-0}"
}

# settle: waits until the game has run two more whole frames, so all input
# sent so far has been handled.
# However slow the frames, only a game that stops running them for five
# minutes fails.
settle() {
  local start end=$((SECONDS + 300))
  start=$(frame_now)
  while [ "$SECONDS" -lt "$end" ]; do
    [ "$(frame_now)" -ge $((start + 2)) ] && return 0
    kill -0 "$pid" 2>/dev/null || fail "the game ended: $(cat "$dir/stderr.txt")"
    sleep 0.05
  done
  fail "the game stopped running frames"
}

# expect NAME INDEX VALUE: after settling, the field must hold VALUE.
expect() {
  settle
  read_state
  [ "$(field "$1" "$2")" = "$3" ] || fail "$WHAT: expected $1 ${2} = $3, got '$(field "$1" "$2")'"
}

# --- the window and the pointer ---------------------------------------------

end=$((SECONDS + 600))
until [ -s "$state" ] || [ "$SECONDS" -ge "$end" ]; do
  kill -0 "$pid" 2>/dev/null || fail "the game ended before its first frame: $(cat "$dir/stderr.txt")"
  sleep 0.1
done
[ -s "$state" ] || fail "no state file after ten minutes"
# The game's window, by its title (the pointer and frame rate, or the first
# title); the check runs alone on the display.
window=$(timeout 600 xdotool search --sync --name '^(Cells|-?[0-9]+:-?[0-9]+ +FPS)' | head -n 1 || true)
[ -n "$window" ] || fail "the game's window was not found"
eval "$(xdotool getwindowgeometry --shell "$window")" # WIDTH, HEIGHT
# The farm (1920 x 1080) is scaled to fit the window and centred.
read -r scale left top < <(awk -v w="$WIDTH" -v h="$HEIGHT" 'BEGIN {
  s = w / 1920; if (h / 1080 < s) s = h / 1080
  printf "%.6f %.3f %.3f\n", s, (w - 1920 * s) / 2, (h - 1080 * s) / 2 }')

# to X Y: moves the pointer onto farm point (X, Y).
to() {
  local px py
  read -r px py < <(awk -v x="$1" -v y="$2" -v s="$scale" -v l="$left" -v t="$top" \
    'BEGIN { printf "%d %d\n", l + x * s + 0.5, t + y * s + 0.5 }')
  xdotool mousemove --window "$window" "$px" "$py"
}
click() {
  to "$1" "$2"
  xdotool click 1
}
# drag X1 Y1 X2 Y2: press at the first point, move over in steps, let go at the second.
drag() {
  to "$1" "$2"
  xdotool mousedown 1
  to $((($1 * 2 + $3) / 3)) $((($2 * 2 + $4) / 3))
  to $((($1 + $3 * 2) / 3)) $((($2 + $4 * 2) / 3))
  to "$3" "$4"
  xdotool mouseup 1
}

scan=(738 1000)
shop=(884 1000)
music=(1030 1000)
clean=(1176 1000)
close=(1346 173)
carton=(638 652)
plus=(765 465)

# --- eggs -------------------------------------------------------------------

# collect N: clicks eggs in the pen until N are on the sorting table.
collect() {
  local want=$1 tries=0 end=$((SECONDS + 900))
  while :; do
    read_state
    [ "$(field table)" -ge "$want" ] && return 0
    if [ "$(field floor)" -eq 0 ]; then
      # The hens are still laying (ten minutes only end a hung run).
      [ "$SECONDS" -lt "$end" ] || fail "no egg was laid for $want on the table"
      sleep 0.2
      continue
    fi
    tries=$((tries + 1))
    [ "$tries" -le 2000 ] || fail "could not gather $want eggs onto the table"
    # The newest egg; a hen sitting on it takes the click instead (as she
    # should), so the next round tries again.
    local egg
    egg=$(field floor "$(($(field floor) + 1))")
    click "${egg%,*}" "${egg#*,}"
    settle
  done
}

# past_story: the story messages of 6:00 to 6:25 cover the sorting window; a
# player waits for them to go.
past_story() {
  local end=$((SECONDS + 300))
  while [ "$SECONDS" -lt "$end" ]; do
    read_state
    local t
    t=$(field seconds)
    if [ "$t" -lt 355 ] || [ "$t" -gt 390 ]; then return 0; fi
    sleep 0.05
  done
  fail "the play time did not move on"
}

# pack N: drags N eggs from the open sorting table into carton C0, checking each.
pack() {
  local n=$1 i
  for i in $(seq 1 "$n"); do
    past_story
    read_state
    local eggs packed egg
    eggs=$(field table)
    packed=$(field packages 1)
    egg=$(field table 2) # the first egg on the table
    WHAT="egg drag $i into C0"
    drag "${egg%,*}" "${egg#*,}" "${carton[@]}"
    expect table 1 $((eggs - 1))
    expect packages 1 $(((packed + 1) % 6))
  done
}

# --- the plans ---------------------------------------------------------------

if [ "$plan" = full ]; then
  # 30 toggles of the sorting window with the magnifier button.
  for i in $(seq 1 30); do
    WHAT="sorting toggle $i"
    click "${scan[@]}"
    expect mode 1 $((i % 2))
  done

  # 20 eggs into a carton, while the hens walk about behind the window; one
  # more egg stays on the table, under the shop's first plus.
  collect 21
  WHAT="opening the sorting window"
  click "${scan[@]}"
  expect mode 1 1
  pack 20
  read_state
  egg=$(field table 2)
  WHAT="the last egg under the shop's plus"
  past_story
  drag "${egg%,*}" "${egg#*,}" "${plus[@]}"
  expect table 2 "${plus[0]},${plus[1]}"

  # Straight into the shop: the plus answers, the hidden egg stays put.
  WHAT="the shop button"
  click "${shop[@]}"
  expect mode 1 3
  for i in 1 2 3 4 5; do
    WHAT="the shop's first plus, click $i"
    click "${plus[@]}"
    expect order 1 "$i"
  done
  expect table 2 "${plus[0]},${plus[1]}"
  echo "xinput: 30 toggles, 20 eggs packed and 5 shop clicks took effect (window ${WIDTH}x${HEIGHT})"
elif [ "$plan" = shapes ]; then
  # wait_until SECONDS: until the play time reaches SECONDS.
  wait_until() {
    for _ in $(seq 1 2400); do
      read_state
      [ "$(field seconds)" -ge "$1" ] && return 0
      sleep 0.05
    done
    fail "the play time did not reach $1 s"
  }
  # A round socket's see-through corners are no button; its face is.
  wait_until 6 # the first message (its own corners are pressed below) is gone
  for corner in "684 946" "793 946" "684 1055" "830 946" "976 1055"; do
    WHAT="a socket's see-through corner at $corner"
    click $corner
    expect mode 1 0
    expect music 1 off
  done
  WHAT="the scan button's face"
  click "${scan[@]}"
  expect mode 1 1
  WHAT="its corner, with the window open"
  click 684 946
  expect mode 1 1
  click "${scan[@]}"
  expect mode 1 0

  # The second message falls due at 10 s with the shop open: it waits, and
  # the plus under its place answers.
  WHAT="the shop button"
  click "${shop[@]}"
  expect mode 1 3
  wait_until 12
  WHAT="the shop's first plus where the message would show"
  click "${plus[@]}"
  expect order 1 1
  expect mode 1 3
  WHAT="the close button"
  click "${close[@]}"
  expect mode 1 0
  # Now it shows over the field, and takes the press; the shop stays shut.
  WHAT="a press on the message"
  click "${plus[@]}"
  expect mode 1 0
  expect order 1 1

  # An egg dragged off the table into the yard comes back where it lay.
  collect 1
  WHAT="opening the sorting window"
  click "${scan[@]}"
  expect mode 1 1
  read_state
  egg=$(field table 2)
  WHAT="the egg let go in the yard"
  drag "${egg%,*}" "${egg#*,}" 1600 600
  expect table 1 1
  expect table 2 "$egg"
  WHAT="the egg let go on the table"
  drag "${egg%,*}" "${egg#*,}" 1000 450
  expect table 2 "1000,450"
  echo "xinput: see-through corners, a waiting message and an egg let go in the yard took effect"
else
  WHAT="the scan button"
  click "${scan[@]}"
  expect mode 1 1
  WHAT="the scan button again"
  click "${scan[@]}"
  expect mode 1 0
  WHAT="the shop button"
  click "${shop[@]}"
  expect mode 1 3
  WHAT="the close button"
  click "${close[@]}"
  expect mode 1 0
  WHAT="the music button"
  click "${music[@]}"
  expect music 1 on
  WHAT="the clean button"
  click "${clean[@]}"
  expect cleanings 1 1
  collect 1
  WHAT="opening the sorting window"
  click "${scan[@]}"
  expect mode 1 1
  pack 1
  echo "xinput: every toolbar button and an egg drag took effect (window ${WIDTH}x${HEIGHT})"
fi
