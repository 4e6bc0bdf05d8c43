#!/usr/bin/env bash
# Builds what is missing, then starts Henhouse. Options are passed to the game
# (see ./play.sh --help). With no display, plays a 10-second demo on a virtual
# one and prints the path of its screenshot as the last line.
set -euo pipefail
cd "$(dirname "$0")"
source tools/env.sh
hh_prepare

say "building the game (build/main)"
hh_build_main

args=()
shot=""
while [ $# -gt 0 ]; do
  if [ "$1" = "--screenshot" ] && [ $# -ge 2 ]; then
    # The game runs from build/run: make paths absolute first.
    case "$2" in /*) shot="$2" ;; *) shot="$PWD/$2" ;; esac
    mkdir -p "$(dirname "$shot")"
    args+=(--screenshot "$shot"); shift 2
  elif { [ "$1" = "--events" ] || [ "$1" = "--save" ]; } && [ $# -ge 2 ]; then
    case "$2" in /*) args+=("$1" "$2") ;; *) args+=("$1" "$PWD/$2") ;; esac
    shift 2
  else
    args+=("$1"); shift
  fi
done

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
if [ -n "$shot" ]; then
  echo "$shot"
fi
