#!/usr/bin/env bash
# Hears the game. Starts a sound server with a null output (stopped again at
# the end), records its monitor while the real game plays on the virtual
# display, silences the music with one of the player's inputs and brings it
# back, then has henhouse-hear find both tracks in the recording: at the
# designed volume, silent while off, and back where they were.
#
#   hear.sh GAME HEAR ROW
#
# Run from the game's directory (build/run). Starts a virtual display of its
# own, so no other window is on it. Exits 77 (skipped) without the sound server's tools.
set -euo pipefail

game=$1
hear=$2
row=$3

# The rows: the input that silences the music | the state line that shows it
# took | the input that brings the music back | its state line. An input is
# "click X Y" (a farm point) or "key NAME" (an X key name).
declare -A rows=(
  [button]="click 1030 1000|music off|click 1030 1000|music on"
  [key]="key m|music off|key m|music on"
  [pause]="key p|paused 1|key p|paused 0"
)
[ -n "${rows[$row]:-}" ] || { echo "hear: no row '$row'" >&2; exit 2; }
IFS='|' read -r silence silenced restore restored <<<"${rows[$row]}"

for tool in Xvfb pulseaudio pactl parec xdotool; do
  command -v "$tool" >/dev/null || { echo "hear: $tool is not installed" >&2; exit 77; }
done

dir=$(mktemp -d "${TMPDIR:-/tmp}/henhouse-hear.XXXXXX")
state=$dir/state.txt
recording=$dir/monitor.raw
pids=()
finish() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  stop_display
  rm -rf "$dir"
}
trap finish EXIT
source "$(dirname "$0")/../e2e/lib.sh"
own_display 1920x1080

fail() {
  echo "hear: $*" >&2
  [ -f "$dir/server.log" ] && sed 's/^/hear: server: /' "$dir/server.log" | grep -v ': W: ' >&2 || true
  [ -f "$dir/stderr.txt" ] && sed 's/^/hear: game: /' "$dir/stderr.txt" >&2 || true
  exit 1
}

# until LIMIT COMMAND...: polls COMMAND until it succeeds, for at most LIMIT
# tenths of a second (a limit only for a hung run).
until_true() {
  local limit=$1 i
  shift
  for ((i = 0; i < limit; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# --- the sound server and the recording ------------------------------------

# Everything the server keeps goes into this run's folder.
export XDG_CONFIG_HOME=$dir/config XDG_RUNTIME_DIR=$dir/run PULSE_STATE_PATH=$dir/state PULSE_RUNTIME_PATH=$dir/run
mkdir -p "$XDG_RUNTIME_DIR"
pulseaudio --daemonize=no --exit-idle-time=-1 -n --use-pid-file=no \
  --load="module-null-sink sink_name=henhouse rate=44100 channels=2" \
  --load="module-native-protocol-unix socket=$dir/native auth-anonymous=1" \
  --log-target="file:$dir/server.log" &
pids+=($!)
export PULSE_SERVER=unix:$dir/native
until_true 300 pactl info >/dev/null 2>&1 || fail "the sound server did not start"

parec --device=henhouse.monitor --rate=44100 --channels=1 --format=s16le --latency-msec=20 >"$recording" &
pids+=($!)
recording_open() { [ -n "$(pactl list short source-outputs)" ]; }
until_true 300 recording_open || fail "the monitor is not being recorded"

# recorded: the samples recorded so far.
recorded() { echo $(($(stat -c %s "$recording") / 2)); }
# record_more SECONDS: waits until the recording has grown by that much.
record_more() {
  local want=$(($(recorded) + $1 * 44100))
  grown() { [ "$(recorded)" -ge "$want" ]; }
  until_true $(($1 * 10 + 600)) grown || fail "the recording stopped growing"
}

# --- the game ---------------------------------------------------------------

"$game" --seed 3 --max-fps 10 --window-size 960x540 --state-file "$state" >"$dir/stdout.txt" 2>"$dir/stderr.txt" &
game_pid=$!
pids=("$game_pid" "${pids[@]}")
started() { [ -s "$state" ] || { kill -0 "$game_pid" 2>/dev/null || fail "the game ended before its first frame"; false; }; }
until_true 1200 started || fail "no state file after two minutes"
grep -q "no audio device" "$dir/stderr.txt" && fail "the game found no sound device"

window=$(timeout 60 xdotool search --sync --name '^(Cells|-?[0-9]+:-?[0-9]+ +FPS)' | head -n 1 || true)
[ -n "$window" ] || fail "the game's window was not found"
eval "$(xdotool getwindowgeometry --shell "$window")" # WIDTH, HEIGHT
read -r scale left top < <(awk -v w="$WIDTH" -v h="$HEIGHT" 'BEGIN {
  s = w / 1920; if (h / 1080 < s) s = h / 1080
  printf "%.6f %.3f %.3f\n", s, (w - 1920 * s) / 2, (h - 1080 * s) / 2 }')

# act INPUT: sends one of the rows' inputs.
act() {
  local kind x y
  read -r kind x y <<<"$1"
  case $kind in
    click)
      read -r x y < <(awk -v x="$x" -v y="$y" -v s="$scale" -v l="$left" -v t="$top" \
        'BEGIN { printf "%d %d\n", l + x * s + 0.5, t + y * s + 0.5 }')
      xdotool mousemove --window "$window" "$x" "$y" click 1 ;;
    key)
      xdotool windowfocus --sync "$window" key "$x" ;;
    *) fail "no input '$1'" ;;
  esac
}
# shows LINE: the state file holds LINE ("name values").
shows() { grep -qx "$1" "$state" 2>/dev/null; }

# Music from the start, then silence, then music again; a stretch of each.
record_more 10
act "$silence"
until_true 600 shows "$silenced" || fail "after '$silence' the state never showed '$silenced'"
# A moment well inside the silence, past the sound system's buffering.
record_more 1
mark=$(recorded)
record_more 2
act "$restore"
until_true 600 shows "$restored" || fail "after '$restore' the state never showed '$restored'"
record_more 10
kill "$game_pid" 2>/dev/null || true
wait "$game_pid" 2>/dev/null || true

status=0
"$hear" "$recording" src/sounds/chikensong.wav src/sounds/MainTheme.wav 0.25 "$mark" || status=$?
# 77: the machine was too busy to feed the sound server; skipped, not passed.
[ "$status" -eq 77 ] && exit 77
[ "$status" -eq 0 ] || fail "row '$row': the music was not heard as designed"
echo "hear: row '$row': both tracks heard at the designed volume, silenced and back where they were"
