#!/usr/bin/env bash
# Builds what is missing, then starts Henhouse. Options are passed to the game
# (see ./play.sh --help). With no display, plays a 10-second demo on a virtual
# one and prints the path of its screenshot as the last line.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"

# The game runs from build/run: paths the caller gives are made absolute
# against the caller's folder first, before anything changes directory. An
# empty path stays empty, for the game to refuse.
absolute() {
  case "$1" in
    ''|/*) printf '%s' "$1" ;;
    *) printf '%s/%s' "$PWD" "$1" ;;
  esac
}

args=()
shot=""
help=0
while [ $# -gt 0 ]; do
  if { [ "$1" = "--screenshot" ] || [ "$1" = "--events" ] || [ "$1" = "--save" ]; } && [ $# -ge 2 ]; then
    path="$(absolute "$2")"
    [ "$1" = "--screenshot" ] && shot="$path"
    args+=("$1" "$path"); shift 2
  else
    case "$1" in --help|-h) help=1 ;; esac
    args+=("$1"); shift
  fi
done

cd "$here"
source tools/env.sh
# Output read by a pipe that closes early (`./play.sh | head -1`) is lost,
# and neither this script nor the game ends for it.
trap '' PIPE

# A display that does not answer fails the same way the game would, before
# the build: asked with an X client of this machine when it has one, else
# with the build environment's.
dead_display() {
  say "no display: the X display '${DISPLAY//[^[:print:]]/?}' does not answer (without a display, ./play.sh plays the demo on a virtual one: env -u DISPLAY ./play.sh)"
  exit 1
}
check_display=0
if [ -n "${DISPLAY:-}" ] && [ "$help" = 0 ]; then
  check_display=1
  if command -v xdpyinfo >/dev/null; then
    xdpyinfo >/dev/null 2>&1 || dead_display
    check_display=0
  elif command -v xset >/dev/null; then
    xset q >/dev/null 2>&1 || dead_display
    check_display=0
  fi
fi

hh_prepare
if [ "$check_display" = 1 ] && { [ "$HH_MODE" = root ] || command -v xdotool >/dev/null; }; then
  HH_DESKTOP=1 henv xdotool getdisplaygeometry >/dev/null 2>&1 || dead_display
fi

# Only the game and its assets (the tests are ./test.sh's), with the build's
# lines shown only when something is built. A build folder that cannot be
# written does not keep a game built before from starting.
built=0
HH_QUIET_BUILD=1 hh_build_play || built=$?
if [ "$built" != 0 ]; then
  [ -x "$HH_RUN/henhouse" ] || die "cannot build the game in build/play: ${HH_BUILD_UNCHECKED}"
  say "could not check whether the game is up to date (${HH_BUILD_UNCHECKED}); starting the one built before"
fi

demo=0
if [ -z "${DISPLAY:-}" ] && [ ${#args[@]} -eq 0 ]; then
  demo=1
  shot="$HH_TOP/build/screenshots/demo.png"
  mkdir -p "$(dirname "$shot")"
  args=(--seed 1 --fixed-dt 0.0166667 --frames 600 --screenshot "$shot")
fi

# The farm is kept in the player's data folder, which the sandbox is given.
export XDG_DATA_HOME="${XDG_DATA_HOME:-${HOME:-/tmp}/.local/share}"
HH_FARM_DIR="$XDG_DATA_HOME/henhouse"
mkdir -p "$HH_FARM_DIR" 2>/dev/null || HH_FARM_DIR=""

cd "$HH_RUN"
if [ -n "${DISPLAY:-}" ]; then
  say "starting Henhouse"
  HH_DESKTOP=1 henv ./henhouse "${args[@]}"
else
  [ "$demo" = 1 ] && say "no display: playing a 10-second demo on a virtual one"
  hh_virtual_display ./henhouse "${args[@]}"
fi
if [ -n "$shot" ] && [ "$help" = 0 ]; then
  echo "$shot" 2>/dev/null || true
fi
