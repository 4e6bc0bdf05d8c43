#!/usr/bin/env bash
# ./play.sh as a player uses it: called from another folder with relative
# paths, with empty paths, with a display that does not answer, without HOME,
# and stopped with SIGTERM halfway through a run. Usage: play.test.sh CHECKOUT
set -uo pipefail
top="$(cd "$1" && pwd)"
source "$top/tests/support/scratch.sh"
work="$(new_scratch play)"
trap 'drop_scratch "$work"' EXIT
# Each run's scratch folder goes here, where the test can see it.
export XDG_CACHE_HOME="$work/cache"
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

# Processes whose command line contains $1 (read from /proc: no procps needed).
running() {
  local f line
  for f in /proc/[0-9]*/cmdline; do
    line="$( { tr '\0' ' ' <"$f"; } 2>/dev/null)" || continue
    case "$line" in *"$1"*) echo "$line" ;; esac
  done
}
scratch_left() { ls -d "$XDG_CACHE_HOME"/henhouse/run.* 2>/dev/null; }

caller="$work/caller"
mkdir -p "$caller"
cd "$caller"
printf '2 click 738 1000\n' >my.events

echo "relative paths are the caller's"
env -u DISPLAY "$top/play.sh" --seed 1 --fixed-dt 0.05 --frames 3 --events my.events --screenshot shot.png \
  --state-file my.state >out.txt 2>err.txt
status=$?
[ "$status" = 0 ] || fail "a run with relative paths ended with status $status: $(tail -n 3 err.txt)"
[ -s "$caller/shot.png" ] || fail "the screenshot is not in the caller's folder"
[ "$(tail -n 1 out.txt)" = "$caller/shot.png" ] || fail "the last line is not the screenshot's path: $(tail -n 1 out.txt)"
[ ! -e "$top/shot.png" ] && [ ! -e "$top/build/run/shot.png" ] || fail "the screenshot went into the checkout"
grep -qx "frame 3" "$caller/my.state" || fail "the state file is not in the caller's folder"
[ ! -e "$top/build/run/my.state" ] || fail "the state file went into the checkout"
[ -z "$(scratch_left)" ] || fail "the run left its scratch folder: $(scratch_left)"

echo "empty paths are the game's error, not the checkout"
for option in --events --screenshot; do
  env -u DISPLAY "$top/play.sh" "$option" '' >out.txt 2>err.txt
  status=$?
  [ "$status" = 2 ] || fail "$option '' ended with status $status"
  grep -qx "henhouse: $option needs a file path" err.txt || fail "$option '' did not say so: $(head -n 3 err.txt)"
done

echo "a display that does not answer is named before the build"
DISPLAY=:9876 "$top/play.sh" --seed 1 >out.txt 2>err.txt
status=$?
[ "$status" = 1 ] || fail "a dead display ended with status $status"
[ "$(tail -n 1 err.txt)" = "henhouse: no display: the X display ':9876' does not answer (without a display, ./play.sh plays the demo on a virtual one: env -u DISPLAY ./play.sh)" ] \
  || fail "a dead display said: $(tail -n 1 err.txt)"
[ "$(wc -l <err.txt)" = 1 ] || fail "a dead display was found only after more: $(head -n 3 err.txt)"

echo "the cache folder without HOME, and when it cannot be made"
home="$(getent passwd "$(id -u)" | cut -d: -f6)"
got="$(env -u HOME -u XDG_CACHE_HOME bash -c "source '$top/tools/env.sh'; hh_cache_dir")"
[ "$got" = "$home/.cache/henhouse" ] || fail "without HOME the cache folder is $got, not $home/.cache/henhouse"
touch "$work/not-a-folder"
env -u XDG_CACHE_HOME HOME="$work/not-a-folder" bash -c "source '$top/tools/env.sh'; hh_make_cache_dir \"\$(hh_cache_dir)\"" \
  >out.txt 2>err.txt
status=$?
[ "$status" = 1 ] || fail "an unusable cache folder ended with status $status"
grep -q "^henhouse: error: cannot use $work/not-a-folder/.cache/henhouse for the build environment (.*); choose a writable folder with XDG_CACHE_HOME=" err.txt \
  || fail "an unusable cache folder said: $(cat err.txt)"

echo "output piped into a reader that stops early does not end the game"
# head reads the first line and goes; the game prints on (a progress line per
# image, then play.sh the screenshot's path) into a closed pipe.
env -u DISPLAY "$top/play.sh" --seed 1 --fixed-dt 0.05 --frames 40 --state-file "$work/piped.txt" 2>err.txt \
  | head -n 1 >out.txt
status=${PIPESTATUS[0]}
[ "$status" = 0 ] || fail "a piped run ended with status $status: $(tail -n 3 err.txt)"
[ -s out.txt ] || fail "a piped run printed nothing"
grep -qx "frame 40" "$work/piped.txt" || fail "a piped run stopped early: $(grep '^frame' "$work/piped.txt")"

echo "a start with nothing to build prints nothing of the build"
env -u DISPLAY "$top/play.sh" --seed 1 --fixed-dt 0.05 --frames 2 >out.txt 2>err.txt
status=$?
[ "$status" = 0 ] || fail "a second run ended with status $status: $(tail -n 3 err.txt)"
! grep -q -e 'Re-checking globbed' -e 'no work to do' -e '^\[[0-9]*/[0-9]*\]' err.txt out.txt \
  || fail "an up-to-date start showed the build's lines: $(head -n 3 err.txt)"
! grep -qi -e 'vertical sync' -e 'X connection' err.txt || fail "a plain start said: $(cat err.txt)"

echo "SIGTERM ends the game and the virtual display and leaves nothing behind"
frames=987654
# The run is under way once it has written its state after a frame (its
# signal handling is set up before the first); the limit only ends a hung run.
env -u DISPLAY "$top/play.sh" --seed 1 --fixed-dt 0.05 --frames "$frames" --state-file "$work/state.txt" \
  >out.txt 2>err.txt &
play=$!
end=$((SECONDS + 600))
until [ -s "$work/state.txt" ] && [ -n "$(running "Xvfb")" ]; do
  [ "$SECONDS" -lt "$end" ] && kill -0 "$play" 2>/dev/null || break
  sleep 0.25
done
[ -n "$(running "henhouse --seed 1 --fixed-dt 0.05 --frames $frames")" ] || fail "the long run did not start: $(tail -n 3 err.txt)"
kill -TERM "$play"
wait "$play"
status=$?
[ "$status" = 143 ] || fail "play.sh ended with status $status after SIGTERM"
# Whatever play.sh ended goes within moments; the limit only ends a hung run.
end=$((SECONDS + 120))
while [ -n "$(running "--frames $frames")$(running "$XDG_CACHE_HOME")" ] && [ "$SECONDS" -lt "$end" ]; do
  sleep 0.1
done
[ -z "$(running "--frames $frames")" ] || fail "the game outlived play.sh: $(running "--frames $frames")"
[ -z "$(running "$XDG_CACHE_HOME")" ] || fail "the virtual display outlived play.sh: $(running "$XDG_CACHE_HOME")"
[ -z "$(scratch_left)" ] || fail "SIGTERM left the scratch folder: $(scratch_left)"
! grep -q 'X connection' err.txt || fail "the stopped game complained: $(grep 'X connection' err.txt)"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all play.sh checks passed"
