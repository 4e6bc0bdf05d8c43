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
# The folders of the files named here, which the build environment is given.
binds=()
while [ $# -gt 0 ]; do
  case "$1" in
    --screenshot|--events|--save|--state-file) is_path=1 ;;
    *) is_path=0 ;;
  esac
  if [ "$is_path" = 1 ] && [ $# -ge 2 ]; then
    path="$(absolute "$2")"
    [ "$1" = "--screenshot" ] && shot="$path"
    [ -n "$path" ] && binds+=("$(dirname "$path")")
    args+=("$1" "$path"); shift 2
  else
    case "$1" in --help|-h) help=1 ;; esac
    args+=("$1"); shift
  fi
done

cd "$here"
source tools/env.sh

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

say "building the game (build/main)"
hh_build_main

demo=0
if [ -z "${DISPLAY:-}" ] && [ ${#args[@]} -eq 0 ]; then
  demo=1
  shot="$HH_TOP/build/screenshots/demo.png"
  mkdir -p "$(dirname "$shot")"
  args=(--seed 1 --fixed-dt 0.0166667 --frames 600 --screenshot "$shot")
fi

# The farm is kept in the player's data folder, which the sandbox is given:
# $XDG_DATA_HOME when it is an absolute path (a relative one is ignored, as
# the XDG rules say), else ~/.local/share, with HOME unset the home folder
# the system lists for this user.
data="${XDG_DATA_HOME:-}"
case "$data" in /*) ;; *) data="" ;; esac
if [ -z "$data" ]; then
  home="${HOME:-}"
  case "$home" in /*) ;; *) home="$(getent passwd "$(id -u)" 2>/dev/null | cut -d: -f6)" ;; esac
  case "$home" in /?*) data="$home/.local/share" ;; esac
fi
HH_FARM_DIR=""
if [ -n "$data" ]; then
  export XDG_DATA_HOME="$data"
  HH_FARM_DIR="$data/henhouse"
  mkdir -p "$HH_FARM_DIR" 2>/dev/null || HH_FARM_DIR=""
else
  unset XDG_DATA_HOME
  [ "$help" = 1 ] || say "no home folder: this game's farm will not be kept (set XDG_DATA_HOME to a folder of your own)"
fi
HH_BIND_DIRS=("${binds[@]}")
# A first Ctrl-C, SIGTERM or SIGHUP asks the game to close: it saves the farm
# and ends, and so does this script, with the game's status.
HH_CLOSE_NAME=henhouse

cd "$HH_RUN"
if [ -n "${DISPLAY:-}" ]; then
  say "starting Henhouse"
  HH_DESKTOP=1 henv ./henhouse "${args[@]}"
else
  [ "$demo" = 1 ] && say "no display: playing a 10-second demo on a virtual one"
  hh_virtual_display ./henhouse "${args[@]}"
fi
if [ -n "$shot" ] && [ "$help" = 0 ]; then
  echo "$shot"
fi
