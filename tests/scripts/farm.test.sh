#!/usr/bin/env bash
# The farm on the paths a player takes through ./play.sh: stopped with Ctrl-C
# in a real terminal, with SIGTERM or SIGHUP to its process group, with the
# terminal closing (each time the save holds the play time of the moment it
# stopped), stopped at once by a second Ctrl-C, and a second game opened on a
# farm that a running game holds. Usage: farm.test.sh CHECKOUT
set -uo pipefail
top="$(cd "$1" && pwd)"
source "$(dirname "$0")/../support/scratch.sh"
work="$(new_scratch farm)"
sock="$work/tmux.sock"
cleanup() {
  local status=$?
  tmux -S "$sock" kill-server 2>/dev/null
  drop_scratch "$work" "$status"
}
trap cleanup EXIT
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

# Polls until the command succeeds: the event, not a time, ends the wait;
# the limit (in tenths of a second) only ends a run that hangs.
wait_until() {
  local limit="$1" n=0
  shift
  until "$@"; do
    n=$((n + 1))
    [ "$n" -ge "$limit" ] && return 1
    sleep 0.1
  done
}
# The whole seconds of play in a state file.
seconds_in() { sed -n 's/^seconds \([0-9]*\)$/\1/p' "$1" 2>/dev/null; }
played() { local s; s="$(seconds_in "$1")"; [ -n "$s" ] && [ "$s" -ge "$2" ]; }
gone() { [ ! -d "/proc/$1" ]; }
# The game writing the state file $1 (its process, read from /proc).
game_pid() {
  local d line
  for d in /proc/[0-9]*; do
    [ "$(cat "$d/comm" 2>/dev/null)" = henhouse ] || continue
    line="$( { tr '\0' ' ' <"$d/cmdline"; } 2>/dev/null)" || continue
    case "$line" in *"--state-file $1 "*) echo "${d#/proc/}"; return ;; esac
  done
}
# The play time a save holds, in whole seconds.
saved_seconds() { sed -n 's/.*"playTime":\([0-9]*\).*/\1/p' "$1" 2>/dev/null; }
# The save holds the play time of the last frame (within a second), not an
# autosave's (none is made in the few seconds each run plays).
check_save() {
  local what="$1" save="$2" state="$3" shown kept
  shown="$(seconds_in "$state")"
  kept="$(saved_seconds "$save")"
  if [ -z "$kept" ]; then
    fail "$what: the farm was not saved ($(tr '\n' ' ' <"$work/err" | tail -c 300))"
  elif [ "$kept" -lt "$shown" ] || [ "$kept" -gt $((shown + 1)) ]; then
    fail "$what: the save holds $kept s of play, the last frame showed $shown s"
  fi
}

game_args() { echo --save "$work/$1.json" --fixed-dt 0.05 --state-file "$work/$1.state"; }

echo "SIGTERM and SIGHUP to play.sh's process group close the game, which saves"
# The second run keeps the player's own farm, with a relative XDG_DATA_HOME
# (ignored: the farm goes under HOME).
mkdir -p "$work/home"
# (the build environment stays where it is: only the farm's home moves)
cache_home="${XDG_CACHE_HOME:-${HOME:-}/.cache}"
for sig in TERM HUP; do
  if [ "$sig" = TERM ]; then
    setsid env -u DISPLAY "$top/play.sh" --save "$work/TERM.json" --fixed-dt 0.05 --state-file "$work/TERM.state" \
      >"$work/out" 2>"$work/err" &
    save="$work/TERM.json"
  else
    setsid env -u DISPLAY HOME="$work/home" XDG_DATA_HOME=reldata XDG_CACHE_HOME="$cache_home" "$top/play.sh" --fixed-dt 0.05 \
      --state-file "$work/HUP.state" >"$work/out" 2>"$work/err" &
    save="$work/home/.local/share/henhouse/farm.json"
  fi
  play=$!
  wait_until 1200 played "$work/$sig.state" 2 || fail "SIG$sig: the game did not start: $(tail -n 3 "$work/err")"
  kill -"$sig" -- "-$play"
  wait "$play"
  status=$?
  [ "$status" = 0 ] || fail "SIG$sig: play.sh ended with status $status, not the game's 0: $(tail -n 3 "$work/err")"
  check_save "SIG$sig" "$save" "$work/$sig.state"
done
[ ! -e "$top/reldata" ] && [ ! -e "$top/build/run/reldata" ] || fail "a relative XDG_DATA_HOME made a folder in the checkout"

# In a terminal of tmux's, as a player's shell runs it: the command's status
# lands in a file when it ends (a Ctrl-C that ends the command leaves the
# shell going, as at a prompt).
in_terminal() {
  local name="$1"
  shift
  {
    echo "trap true INT"
    printf '%q ' env -u DISPLAY "$@"
    echo "2>'$work/err'"
    echo "echo \$? >'$work/$name.status'"
  } >"$work/$name.sh"
  tmux -S "$sock" -f /dev/null new-session -d -s "$name" -x 100 -y 30 "bash '$work/$name.sh'"
}
status_of() { [ -s "$work/$1.status" ]; }

echo "Ctrl-C in a real terminal closes the game, which saves"
# shellcheck disable=SC2046
in_terminal ctrlc "$top/play.sh" $(game_args ctrlc)
wait_until 1200 played "$work/ctrlc.state" 2 || fail "Ctrl-C: the game did not start: $(tail -n 3 "$work/err")"
tmux -S "$sock" send-keys -t ctrlc C-c
wait_until 600 status_of ctrlc || fail "Ctrl-C: play.sh did not end"
[ "$(cat "$work/ctrlc.status" 2>/dev/null)" = 0 ] \
  || fail "Ctrl-C: play.sh ended with status $(cat "$work/ctrlc.status" 2>/dev/null): $(tail -n 3 "$work/err")"
check_save "Ctrl-C" "$work/ctrlc.json" "$work/ctrlc.state"

echo "the terminal closing closes the game, which saves"
tmux -S "$sock" -f /dev/null new-session -d -s closing -x 100 -y 30 \
  "exec env -u DISPLAY '$top/play.sh' $(game_args closing) 2>'$work/err'"
wait_until 1200 played "$work/closing.state" 2 || fail "closing: the game did not start: $(tail -n 3 "$work/err")"
leader="$(tmux -S "$sock" display-message -p -t closing '#{pane_pid}')"
tmux -S "$sock" kill-session -t closing
wait_until 600 gone "$leader" || fail "closing: play.sh did not end"
check_save "the terminal closing" "$work/closing.json" "$work/closing.state"

echo "a second Ctrl-C ends the game at once, even one that cannot close"
# shellcheck disable=SC2046
in_terminal twice "$top/play.sh" $(game_args twice)
wait_until 1200 played "$work/twice.state" 1 || fail "twice: the game did not start: $(tail -n 3 "$work/err")"
game="$(game_pid "$work/twice.state")"
[ -n "$game" ] || fail "twice: the state file names no process"
kill -STOP "$game"
tmux -S "$sock" send-keys -t twice C-c
saw_closing() { grep -q "closing the game; a second Ctrl-C ends it at once" "$work/err"; }
wait_until 600 saw_closing || fail "twice: the first Ctrl-C did not ask the game to close"
tmux -S "$sock" send-keys -t twice C-c
wait_until 600 status_of twice || fail "twice: play.sh did not end"
[ "$(cat "$work/twice.status" 2>/dev/null)" = 130 ] \
  || fail "twice: play.sh ended with status $(cat "$work/twice.status" 2>/dev/null), not 130"
wait_until 600 gone "$game" || fail "twice: the game outlived play.sh"
[ ! -e "$work/twice.json" ] || fail "twice: a game that never closed wrote a save"

echo "a second game on a farm a running game holds is refused"
# shellcheck disable=SC2046
setsid env -u DISPLAY "$top/play.sh" $(game_args held) >"$work/out" 2>"$work/err" &
first=$!
wait_until 1200 played "$work/held.state" 1 || fail "two games: the first did not start: $(tail -n 3 "$work/err")"
holder="$(game_pid "$work/held.state")"
for extra in "" --new-farm; do
  env -u DISPLAY "$top/play.sh" --save "$work/held.json" --fixed-dt 0.05 $extra >"$work/out2" 2>"$work/err2"
  status=$?
  [ "$status" = 1 ] || fail "two games ${extra}: the second ended with status $status"
  line="henhouse: the farm $work/held.json is open in another game (process $holder); close that one first"
  grep -qxF "$line" "$work/err2" || fail "two games ${extra}: the second said: $(grep henhouse: "$work/err2" | tail -n 2)"
done
gone "$holder" && fail "two games: the first game ended"
kill -TERM -- "-$first"
wait "$first"
status=$?
[ "$status" = 0 ] || fail "two games: the first ended with status $status"
check_save "two games" "$work/held.json" "$work/held.state"
[ ! -e "$work/held.json.1" ] || fail "two games: --new-farm moved the held farm aside"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all farm checks passed"
