#!/usr/bin/env bash
# Builds what is missing, then starts Henhouse. Options are passed to the game
# (see ./play.sh --help). With no display, plays a 10-second demo on a virtual
# one and prints the path of its screenshot as the last line.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"

# --- A menu entry for this checkout ---------------------------------------
# ./play.sh --install adds a desktop entry and the game's icons under the
# player's data folder ($XDG_DATA_HOME, usually ~/.local/share) that start the
# game through this script; ./play.sh --uninstall removes exactly what it
# added (listed in henhouse/menu-entry.files there). Nothing else is written
# outside the checkout and the build environment.
if [ $# -eq 1 ] && { [ "$1" = "--install" ] || [ "$1" = "--uninstall" ]; }; then
  cd "$here"
  source tools/env.sh
  data="${XDG_DATA_HOME:-${HOME:?HOME is not set: name the data folder with XDG_DATA_HOME}/.local/share}"
  case "$data" in /*) ;; *) die "XDG_DATA_HOME must be an absolute path, not '$data'" ;; esac
  list="$data/henhouse/menu-entry.files"
  if [ "$1" = "--uninstall" ]; then
    [ -f "$list" ] || { say "no menu entry to remove (none was added from a checkout: $list is missing)"; exit 0; }
    # Files first, then the folders the install made, deepest first, when empty.
    while IFS= read -r entry; do
      [ "${entry%% *}" = file ] && rm -f -- "${entry#file }"
    done <"$list"
    tac "$list" | while IFS= read -r entry; do
      [ "${entry%% *}" = folder ] && rmdir -- "${entry#folder }" 2>/dev/null || true
    done
    folder_of_list="$(sed -n 's/^listfolder //p' "$list")"
    rm -f -- "$list"
    [ -n "$folder_of_list" ] && rmdir -- "$folder_of_list" 2>/dev/null || true
    say "removed the menu entry and icons from $data"
    exit 0
  fi

  HH_NEEDS=play hh_prepare
  say "painting the icons (build/play)"
  HH_TARGET=install-extras hh_build_play
  # The icons are named by the build's id for the game (the installed one's).
  app_id="$(sed -n 's/^HENHOUSE_APP_ID:STRING=//p' "$HH_PLAY/CMakeCache.txt")"
  icons="$HH_PLAY/icons/hicolor"
  [ -d "$icons" ] || die "the icons were not painted ($icons is missing)"

  # What goes where: every icon, and the desktop entry.
  sources=() targets=()
  while IFS= read -r icon; do
    sources+=("$icon"); targets+=("$data/icons/hicolor/${icon#"$icons"/}")
  done < <(find "$icons" -type f -name "$app_id.*" | sort)
  entry="$data/applications/$app_id.desktop"
  targets+=("$entry")

  # A file already there that an earlier --install did not add is not ours to replace.
  for target in "${targets[@]}"; do
    if [ -e "$target" ] && ! { [ -f "$list" ] && grep -qxF "file $target" "$list"; }; then
      die "$target is already there and was not added by ./play.sh --install; leaving it alone"
    fi
  done

  # The list of what is added is kept up to date as it is added, so that an
  # install cut short can still be removed.
  made=()
  [ -d "$data/henhouse" ] || { mkdir -p "$data/henhouse" && made+=("listfolder $data/henhouse"); }
  [ -f "$list" ] && mapfile -t old <"$list" || old=()
  printf '%s\n' "${old[@]}" "${made[@]}" | sed '/^$/d' | sort -u >"$list.new" && mv "$list.new" "$list"
  record() { grep -qxF "$1" "$list" || printf '%s\n' "$1" >>"$list"; }
  # Makes a folder and its missing parents, listing each one made.
  make_folder() {
    local want="$1" missing=()
    while [ ! -d "$want" ]; do missing=("$want" "${missing[@]}"); want="$(dirname "$want")"; done
    for want in "${missing[@]}"; do
      mkdir "$want" || die "cannot create $want"
      record "folder $want"
    done
  }
  for i in "${!sources[@]}"; do
    make_folder "$(dirname "${targets[$i]}")"
    record "file ${targets[$i]}"
    cp -- "${sources[$i]}" "${targets[$i]}" || die "cannot write ${targets[$i]}"
  done

  # Exec's argument quoted as the desktop entry's rules want: in double
  # quotes, with ", `, $ and \ escaped by a backslash, then every backslash
  # doubled for the string, and % written as %%.
  quoted="$here/play.sh"
  quoted="${quoted//\\/\\\\}"; quoted="${quoted//\"/\\\"}"; quoted="${quoted//\`/\\\`}"; quoted="${quoted//\$/\\\$}"
  quoted="${quoted//\\/\\\\}"; quoted="${quoted//%/%%}"
  make_folder "$(dirname "$entry")"
  record "file $entry"
  # The same entry as an installed game's, starting this script instead.
  template="$(<cmake/henhouse.desktop.in)"
  template="${template//@HENHOUSE_APP_ID@/$app_id}"
  exec_line="\"$quoted\""
  printf '%s\n' "${template//@HENHOUSE_EXEC@/"$exec_line"}" >"$entry" || die "cannot write $entry"
  say "added Henhouse to the desktop's menu: $entry (./play.sh --uninstall removes it)"
  exit 0
fi

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

HH_NEEDS=play hh_prepare
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
  echo "$shot" 2>/dev/null || true
fi
