#!/usr/bin/env bash
# Henhouse build environment.
#
# Sourced by play.sh, test.sh and bench.sh. Provides `henv CMD...`, which runs a
# command either natively (when this machine already has SFML 3, cairo and
# Catch2 3) or inside a cached Debian testing root made with mmdebstrap and
# entered with bubblewrap. The root lives outside the checkout and is reused;
# it is only trusted once its ".complete" stamp exists, so a half-built root
# from an interrupted run is thrown away and made again.
#
# Where it lives: $XDG_CACHE_HOME/henhouse, else ~/.cache/henhouse (with HOME
# unset, the home folder the system lists for this user). Everything a run
# leaves behind (the virtual display's temporary folder, the graphics
# driver's shader cache) goes into one folder per run inside it, removed when
# the script ends, however it ends.

HH_TOP="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# What the game needs to build and run: all ./play.sh asks for. Changing a
# list makes a new root.
HH_PACKAGES=(
  g++ cmake ninja-build pkg-config
  libsfml-dev libcairo2-dev libpng-dev libdeflate-dev nlohmann-json3-dev
  xvfb xauth xfonts-base libgl1-mesa-dri xdotool
  fonts-liberation
  libpulse0 libasound2t64 libasound2-plugins
  ca-certificates
)
# What the tests, the benchmarks and the package need besides: ./test.sh,
# ./bench.sh and ./package.sh use a root with both lists (and so does
# ./play.sh once that root exists).
HH_TEST_PACKAGES=(
  catch2 clang clang-format
  procps file
  openbox x11-utils tmux
  pulseaudio pulseaudio-utils sox
  lintian desktop-file-utils appstream dpkg-dev fakeroot
)
# Which root a script needs: "play" (./play.sh) or "all" (the default).
HH_NEEDS="${HH_NEEDS:-all}"
HH_SUITE=forky

say() { printf 'henhouse: %s\n' "$*" >&2; }
die() { printf 'henhouse: error: %s\n' "$*" >&2; exit 1; }

hh_native_ok() {
  [ -n "${HENHOUSE_FORCE_ROOT:-}" ] && return 1
  command -v cmake >/dev/null && command -v c++ >/dev/null && command -v pkg-config >/dev/null || return 1
  command -v ninja >/dev/null || return 1
  pkg-config --atleast-version=3.0 sfml-graphics 2>/dev/null || return 1
  pkg-config --exists cairo libdeflate libpng 2>/dev/null || return 1
  command -v Xvfb >/dev/null || return 1
  [ "$HH_NEEDS" = play ] && return 0
  hh_native_tests_ok
}

hh_native_tests_ok() {
  pkg-config --exists catch2-with-main 2>/dev/null || return 1
  pkg-config --atleast-version=3.0 catch2 2>/dev/null || return 1
  return 0
}

hh_cache_dir() {
  local base="${XDG_CACHE_HOME:-}" home="${HOME:-}"
  if [ -z "$base" ]; then
    [ -n "$home" ] || home="$(getent passwd "$(id -u)" 2>/dev/null | cut -d: -f6)"
    [ -n "$home" ] && [ "$home" != / ] \
      || die "HOME is not set: choose a folder for the build environment (about 1.1 GB) with XDG_CACHE_HOME=/some/folder"
    base="$home/.cache"
  fi
  printf '%s/henhouse' "$base"
}

# Makes the cache folder, or says why it cannot be made and how to choose another.
hh_make_cache_dir() {
  local dir="$1" why
  [ -d "$dir" ] && [ -w "$dir" ] && return 0
  if ! why="$(mkdir -p "$dir" 2>&1)" || [ ! -w "$dir" ]; then
    why="${why##*: }"
    die "cannot use $dir for the build environment (${why:-not writable}); choose a writable folder with XDG_CACHE_HOME=/some/folder (it takes about 1.1 GB)"
  fi
}

# The root with the packages of the given list(s): hh_root_dir play|all.
hh_root_dir() {
  local key cache packages=("${HH_PACKAGES[@]}")
  cache="$(hh_cache_dir)" || return 1
  [ "$1" = play ] || packages+=("${HH_TEST_PACKAGES[@]}")
  key="$(printf '%s\n' "$HH_SUITE" "${packages[@]}" | sha256sum | cut -c1-12)"
  printf '%s/root-%s' "$cache" "$key"
}

hh_install_host_tools() {
  local missing=()
  command -v mmdebstrap >/dev/null || missing+=(mmdebstrap)
  command -v bwrap >/dev/null || missing+=(bubblewrap)
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null; then
    say "installing ${missing[*]} on this machine"
    apt-get update -qq >/dev/null || die "apt-get update failed"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null \
      || die "could not install ${missing[*]}"
  else
    die "this machine lacks ${missing[*]}; install them (for example: sudo apt-get install ${missing[*]}) and run again"
  fi
}

hh_make_root() {
  local root="$1"
  hh_make_cache_dir "$(dirname "$root")"
  hh_install_host_tools
  if [ -d "$root" ]; then
    say "removing an incomplete build environment at $root"
    rm -rf "$root" || die "cannot remove $root"
  fi
  say "creating the build environment (Debian $HH_SUITE, about a minute, 1.1 GB) in $root"
  say "(set XDG_CACHE_HOME to put it elsewhere)"
  local pkgs packages=("${HH_PACKAGES[@]}")
  [ "${2:-all}" = play ] || packages+=("${HH_TEST_PACKAGES[@]}")
  pkgs="$(IFS=,; echo "${packages[*]}")"
  local log="$root.log" trim=()
  # Playing reads no manual and no translation of the tools: the player's
  # root leaves them out, which makes it quicker to unpack and smaller.
  [ "${2:-all}" = play ] && trim=(--dpkgopt='path-exclude=/usr/share/doc/*' \
    --dpkgopt='path-exclude=/usr/share/man/*' --dpkgopt='path-exclude=/usr/share/locale/*' \
    --dpkgopt='path-exclude=/usr/share/info/*')
  # dpkg without its syncs while the root is made (a root cut short is made
  # again anyway): where mmdebstrap has the hook for it.
  local hooks=/usr/share/mmdebstrap/hooks/eatmydata
  [ -d "$hooks" ] && trim+=(--hook-directory="$hooks")
  if ! mmdebstrap --variant=apt --aptopt='Acquire::Check-Valid-Until "false"' "${trim[@]}" \
        --include="$pkgs" "$HH_SUITE" "$root" >"$log" 2>&1; then
    tail -n 20 "$log" >&2
    rm -rf "$root"
    die "mmdebstrap failed (full log: $log)"
  fi
  # Written out once, at the end, before it is called complete.
  sync -f "$root" 2>/dev/null || sync
  touch "$root/.complete"
  say "build environment ready"
}

# Sets HH_MODE to "native" or "root" and makes sure the root exists.
hh_prepare() {
  if hh_native_ok; then
    HH_MODE=native
    # What this machine has: the test framework, or only what playing needs.
    HH_KIND=all
    hh_native_tests_ok || HH_KIND=play
    return
  fi
  HH_MODE=root
  HH_KIND=all
  HH_ROOT="$(hh_root_dir all)" || exit 1
  # Playing needs only the smaller root, quicker to make; the whole one
  # serves as well when it is there already.
  if [ "$HH_NEEDS" = play ] && [ ! -f "$HH_ROOT/.complete" ]; then
    HH_KIND=play
    HH_ROOT="$(hh_root_dir play)" || exit 1
  fi
  [ -f "$HH_ROOT/.complete" ] || hh_make_root "$HH_ROOT" "$HH_KIND"
}

# This run's own scratch folder inside the cache folder: HH_SCRATCH as this
# machine sees it, HH_SCRATCH_IN as commands under henv see it.
hh_scratch() {
  [ -n "${HH_SCRATCH:-}" ] && return 0
  if [ "$HH_MODE" = native ]; then
    HH_SCRATCH="$(hh_cache_dir)" || exit 1
    hh_make_cache_dir "$HH_SCRATCH"
    HH_SCRATCH="$HH_SCRATCH/run.$$"
    HH_SCRATCH_IN="$HH_SCRATCH"
  else
    HH_SCRATCH="$HH_ROOT/var/tmp/henhouse-run.$$"
    HH_SCRATCH_IN="/var/tmp/henhouse-run.$$"
  fi
  # Folders of runs that could not clean up (killed with SIGKILL, or a shell
  # that ended without running its exit trap) go once their process is gone.
  local old
  for old in "${HH_SCRATCH%.*}".*; do
    [ -d "$old" ] && [ ! -d "/proc/${old##*.}" ] && rm -rf "$old"
  done
  mkdir -p "$HH_SCRATCH/cache" "$HH_SCRATCH/home" || die "cannot create $HH_SCRATCH"
  mkdir -m 700 -p "$HH_SCRATCH/runtime" || die "cannot create $HH_SCRATCH/runtime"
}

# Set here, never taken from the environment: the cleanup removes HH_SCRATCH.
HH_SCRATCH=""
HH_SCRATCH_IN=""
HH_CHILD=""
# The program (its name, as /proc shows it) that a first Ctrl-C, SIGTERM or
# SIGHUP asks to close rather than ends: play.sh names the game, so the game
# saves the farm and ends as its close button ends it.
HH_CLOSE_NAME=""
HH_CLOSING=""
HH_TRAPPED=0
HH_BIND_DIRS=()

# Removes this run's scratch folder; on a signal, first ends whatever henv is
# running (its whole process group: the sandbox, the virtual display, the game).
hh_cleanup() {
  if [ -n "$HH_CHILD" ]; then
    # A game already asked to close is past asking: it ends now. (Even a
    # stopped one: the group is woken so the signals land.)
    if [ -n "$HH_CLOSING" ]; then
      # shellcheck disable=SC2046
      kill -KILL $(hh_session_members "$HH_CHILD" "$HH_CLOSE_NAME") 2>/dev/null || true
    fi
    kill -TERM -- "-$HH_CHILD" 2>/dev/null || kill -TERM "$HH_CHILD" 2>/dev/null || true
    kill -CONT -- "-$HH_CHILD" 2>/dev/null || kill -CONT "$HH_CHILD" 2>/dev/null || true
    wait "$HH_CHILD" 2>/dev/null || true
    HH_CHILD=""
  fi
  # Jobs a script runs in the background (each the leader of a process group
  # of its own) end with it.
  local job
  for job in ${HH_BACKGROUND:-}; do
    kill -TERM -- "-$job" 2>/dev/null || true
    wait "$job" 2>/dev/null || true
  done
  HH_BACKGROUND=""
  # Folders a script names to go with it (its scratch, until it decides to
  # keep it for a failure).
  local folder
  for folder in ${HH_REMOVE_ON_EXIT:-}; do
    rm -rf "$folder"
  done
  HH_REMOVE_ON_EXIT=""
  if [ -n "${HH_SCRATCH:-}" ]; then
    rm -rf "$HH_SCRATCH"
    HH_SCRATCH=""
  fi
}

# The processes called $2 in the session or process group $1 (read from
# /proc: no procps needed).
hh_session_members() {
  local sid="$1" name="$2" stat line comm rest state ppid pgrp session
  for stat in /proc/[0-9]*/stat; do
    { read -r line <"$stat"; } 2>/dev/null || continue
    comm="${line#*(}"; comm="${comm%)*}"
    rest="${line##*) }"
    read -r state ppid pgrp session _ <<<"$rest"
    { [ "$session" = "$sid" ] || [ "$pgrp" = "$sid" ]; } && [ "$comm" = "$name" ] && printf '%s ' "${line%% *}"
  done
  return 0
}

# The first signal asks the program named in HH_CLOSE_NAME to close (it saves
# and ends by itself, and the script then ends with its status); a second
# one, or a signal while nothing of that name runs, ends everything at once.
hh_on_signal() {
  HH_TRAPPED=$((HH_TRAPPED + 1))
  if [ -n "$HH_CHILD" ] && [ -n "$HH_CLOSE_NAME" ] && [ -z "$HH_CLOSING" ]; then
    local pids
    pids="$(hh_session_members "$HH_CHILD" "$HH_CLOSE_NAME")"
    if [ -n "$pids" ]; then
      HH_CLOSING=1
      say "closing the game; a second Ctrl-C ends it at once" || true
      # shellcheck disable=SC2086
      kill -TERM $pids 2>/dev/null || true
      return 0
    fi
  fi
  trap - EXIT
  hh_cleanup
  trap - "$1"
  kill -"$1" $$
}
trap hh_cleanup EXIT
case $- in
  *i*) ;; # sourced by hand: leave the shell's own signal handling alone
  *) for hh_sig in INT TERM HUP; do
       trap "hh_on_signal $hh_sig" "$hh_sig"
     done
     unset hh_sig ;;
esac

# Runs "$@" in a process group (and session) of its own and waits for it, so
# that a signal to the script is handled at once (bash would wait for a
# foreground command) and can end the command with everything it started.
# The child's own status is returned, also when a signal asked it to close.
hh_run_child() {
  case $- in
    *i*) "$@"; return ;;           # by hand: in the foreground, as typed
    *m*) "$@" <&0 & ;;             # job control gives each job its own group
    *) if command -v setsid >/dev/null; then
         setsid "$@" <&0 &         # not a group leader, so setsid does not fork
       else
         "$@" <&0 &
       fi ;;
  esac
  HH_CHILD=$!
  local status seen
  while :; do
    seen=$HH_TRAPPED
    status=0
    wait "$HH_CHILD" || status=$?
    # A handled signal ends the wait early while the child goes on closing:
    # wait again (bash keeps the status of a child that has already ended).
    [ "$HH_TRAPPED" = "$seen" ] && break
  done
  HH_CHILD=""
  HH_CLOSING=""
  return "$status"
}

# Runs a command in the environment. With HH_DESKTOP=1 the user's display and
# sound server are passed in as well.
henv() {
  hh_scratch
  # The graphics driver caches compiled shaders under the user's cache folder
  # (inside the sandbox that would be the machine's /tmp/.cache): keep them in
  # this run's folder.
  local cache=(XDG_CACHE_HOME="$HH_SCRATCH_IN/cache" MESA_SHADER_CACHE_DIR="$HH_SCRATCH_IN/cache/mesa")
  if [ "$HH_MODE" = native ]; then
    hh_run_child env "${cache[@]}" "$@"
    return
  fi
  local args=(--bind "$HH_ROOT" / --proc /proc --dev /dev --bind /tmp /tmp
              --bind "$HH_TOP" "$HH_TOP" --chdir "$PWD"
              --setenv HOME "$HH_SCRATCH_IN/home" --setenv PATH /usr/local/bin:/usr/bin:/bin
              --setenv XDG_CACHE_HOME "$HH_SCRATCH_IN/cache"
              --setenv MESA_SHADER_CACHE_DIR "$HH_SCRATCH_IN/cache/mesa"
              --die-with-parent)
  # Inside, the home folder is this run's own (removed at the end), so what
  # the sound and graphics libraries keep there never lands in the machine's
  # shared /tmp; so is the runtime folder, unless the desktop's is passed in.
  # The farm is never kept in either: play.sh names the player's data folder.
  [ -n "${HH_DESKTOP:-}" ] && [ -n "${XDG_RUNTIME_DIR:-}" ] && [ -d "$XDG_RUNTIME_DIR" ] \
    || args+=(--setenv XDG_RUNTIME_DIR "$HH_SCRATCH_IN/runtime")
  # The player's farm folder and the folders of the files named on play.sh's
  # command line (HH_BIND_DIRS), so saves and screenshots outlive the sandbox.
  local dir assets
  # Assets borrowed from another build tree (HENHOUSE_ASSETS_FROM) may live
  # outside the checkout.
  assets="$(readlink -f "$HH_TOP/build/run/src" 2>/dev/null)" || assets=""
  case "$assets" in "$HH_TOP"/*|/tmp/*) assets="" ;; esac
  for dir in "${HH_FARM_DIR:-}" "${HH_BIND_DIRS[@]}" "$assets"; do
    [ -n "$dir" ] && [ -d "$dir" ] && args+=(--bind "$dir" "$dir")
  done
  if [ -n "${HH_DESKTOP:-}" ]; then
    [ -d /tmp/.X11-unix ] && args+=(--bind /tmp/.X11-unix /tmp/.X11-unix)
    [ -e /dev/dri ] && args+=(--dev-bind /dev/dri /dev/dri)
    if [ -n "${XAUTHORITY:-}" ] && [ -f "$XAUTHORITY" ]; then
      args+=(--ro-bind "$XAUTHORITY" "$XAUTHORITY")
    elif [ -f "${HOME:-/nonexistent}/.Xauthority" ]; then
      args+=(--ro-bind "$HOME/.Xauthority" "$HH_SCRATCH_IN/home/.Xauthority"
             --setenv XAUTHORITY "$HH_SCRATCH_IN/home/.Xauthority")
    fi
    if [ -n "${XDG_RUNTIME_DIR:-}" ] && [ -d "$XDG_RUNTIME_DIR" ]; then
      args+=(--bind "$XDG_RUNTIME_DIR" "$XDG_RUNTIME_DIR")
    fi
  fi
  hh_run_child bwrap "${args[@]}" "$@"
}

# Configures and builds one build tree: hh_build DIR BUILD_TYPE [-DNAME=VALUE...].
# A tree made before with other values for the project's settings (not
# CMake's own) is configured again with these. With HH_TARGET set (names separated by spaces), only those
# targets are built. With HH_QUIET_BUILD=1 the build tool's output is shown
# only when something is built; a tree that cannot be checked at all (a build
# folder that cannot be written) leaves HH_BUILD_UNCHECKED set to the reason
# and returns 2 instead of ending the script.
hh_build() {
  local dir="$1" type="$2"; shift 2
  local setting configure=0
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    configure=1
  else
    for setting in "$@"; do
      case "$setting" in
        -DCMAKE_*) ;; # the compiler is kept as CMake found it (a full path)
        -D*=*) setting="${setting#-D}"
               grep -qxF -e "${setting%%=*}:BOOL=${setting#*=}" -e "${setting%%=*}:PATH=${setting#*=}" \
                 -e "${setting%%=*}:STRING=${setting#*=}" -e "${setting%%=*}:UNINITIALIZED=${setting#*=}" \
                 -e "${setting%%=*}:FILEPATH=${setting#*=}" "$dir/CMakeCache.txt" || configure=1 ;;
      esac
    done
  fi
  if [ "$configure" = 1 ]; then
    hh_scratch
    henv cmake -S "$HH_TOP" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "$@" >"$HH_SCRATCH/configure.log" 2>&1 \
      || { cat "$HH_SCRATCH/configure.log" >&2; die "cmake could not configure $dir"; }
  fi
  # With HH_NICE=1 the build yields the processors to whatever else runs (the
  # tests of a tree built before).
  # shellcheck disable=SC2086 # HH_TARGET is a list of target names
  local build=(${HH_NICE:+nice -n 15} cmake --build "$dir" -j "$(nproc 2>/dev/null || echo 2)" ${HH_TARGET:+--target $HH_TARGET})
  if [ -n "${HH_WARNINGS_FAIL:-}" ]; then
    hh_scratch
    henv env HH_LOG="$HH_SCRATCH_IN/build.log" bash -c 'set -o pipefail; "$@" 2>&1 | tee "$HH_LOG"' \
      henhouse-build "${build[@]}" || die "the build in $dir failed"
    # The files that warned are compiled again next time, so the warning is
    # seen again until it is mended.
    local warned
    warned="$(sed -n 's/^\([^ :]*\.[ch]pp\):[0-9]*:[0-9]*: warning: .*/\1/p' "$HH_SCRATCH/build.log" | sort -u)"
    if [ -n "$warned" ]; then
      (cd "$dir" && xargs touch -c --) <<<"$warned"
      rm -f "$HH_SCRATCH/build.log"
      die "the build in $dir has warnings (errors in the tests' builds): $(tr '\n' ' ' <<<"$warned")"
    fi
    rm -f "$HH_SCRATCH/build.log"
    return 0
  fi
  if [ -z "${HH_QUIET_BUILD:-}" ]; then
    henv "${build[@]}" || die "the build in $dir failed"
    return 0
  fi
  # The build's lines as they come, but not the ones every start would print
  # when nothing needs building, nor the build tool's own errors (said below
  # in one line).
  hh_scratch
  local status=0
  henv env HH_LOG="$HH_SCRATCH_IN/build.log" HH_SKIP1='^ninja: no work to do' HH_SKIP2='^ninja: error: ' \
    bash -c 'set -o pipefail; "$@" 2>&1 | tee "$HH_LOG" \
      | { grep --line-buffered -v -e "$HH_SKIP1" -e "$HH_SKIP2" || true; } >&2' \
    henhouse-build "${build[@]}" || status=$?
  HH_BUILD_UNCHECKED=""
  if [ "$status" != 0 ] && ! grep -q '^FAILED: ' "$HH_SCRATCH/build.log"; then
    # Nothing was compiled and failed: the build tool could not even start.
    HH_BUILD_UNCHECKED="$(grep -m1 -i -e 'error' -e 'denied' -e 'read-only' "$HH_SCRATCH/build.log" \
      || tail -n 1 "$HH_SCRATCH/build.log")"
    rm -f "$HH_SCRATCH/build.log"
    return 2
  fi
  rm -f "$HH_SCRATCH/build.log"
  [ "$status" = 0 ] || die "the build in $dir failed"
}

# Runs a command under a virtual display big enough for the 1920 x 1080 window.
# The X server picks a free display number itself and names it once it takes
# connections, so any number of these can start at once without two
# choosing the same one. Its files go into this run's scratch folder; the
# command itself gets the usual temporary folder back.
hh_virtual_display() {
  hh_scratch
  local tmp=(-u TMPDIR)
  [ -n "${TMPDIR:-}" ] && tmp=(TMPDIR="$TMPDIR")
  henv env TMPDIR="$HH_SCRATCH_IN" bash -c '
    named="$(mktemp)"
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$named" 2>"$named.log" &
    server=$!
    until grep -q "[0-9]" "$named"; do
      kill -0 "$server" 2>/dev/null || { cat "$named.log" >&2; echo "henhouse: the virtual display did not start" >&2; exit 1; }
      sleep 0.05
    done
    export DISPLAY=":$(tr -dc 0-9 <"$named")"
    rm -f "$named" "$named.log"
    status=0
    env "$@" || status=$?
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null
    exit "$status"' henhouse-display "${tmp[@]}" "$@"
}

# The build trees: the player's one (what ./play.sh builds: the game and its
# assets, warnings not errors, so a newer compiler never stops a game), which
# ./test.sh builds again with the tests added (the game's objects are the
# same, so they are compiled once for both); the sanitizer one; the clang one
# with the portable platform layer; and the release one for benchmarks. All
# but the player's borrow its generated assets; the game runs from build/run.
HH_PLAY="$HH_TOP/build/play"
HH_ASAN="$HH_TOP/build/asan"
HH_CLANG="$HH_TOP/build/clang"
HH_RELEASE="$HH_TOP/build/release"
HH_RUN="$HH_TOP/build/run"

# The player's tree: optimized as a release, without debugging information
# (the compiler's slowest part for a player who never reads it), warnings not
# errors.
HH_PLAY_FLAGS=(-DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG"
               -DHENHOUSE_RUN_DIR="$HH_RUN" -DHENHOUSE_WERROR=OFF)

# The player's tree. Tests that ./test.sh added stay configured (only the game
# is built) as long as the tools to configure them are at hand.
hh_build_play() {
  local testing=OFF
  if [ "${HH_KIND:-all}" = all ] && grep -qx 'BUILD_TESTING:BOOL=ON' "$HH_PLAY/CMakeCache.txt" 2>/dev/null; then
    testing=ON
  fi
  HH_TARGET="${HH_TARGET:-henhouse}" hh_build "$HH_PLAY" Release "${HH_PLAY_FLAGS[@]}" -DBUILD_TESTING=$testing
}

# The player's tree with the tests, for ./test.sh. Its warnings are not errors
# (the player's build must stay the same), so a warning fails ./test.sh here
# instead (HH_WARNINGS_FAIL).
hh_build_tests() {
  HH_WARNINGS_FAIL=1 hh_build "$HH_PLAY" Release "${HH_PLAY_FLAGS[@]}" -DBUILD_TESTING=ON
}

# Only the generated assets of the player's tree (for trees that borrow them).
hh_build_assets() {
  HH_TARGET=assets hh_build_play
}
