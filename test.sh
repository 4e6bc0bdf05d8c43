#!/usr/bin/env bash
# Builds the game and runs every test: in the player's build with the tests
# added (a warning fails the run), under a virtual display; the unit and
# reliability tests again with AddressSanitizer (leaks included) and
# UndefinedBehaviorSanitizer; the game and its unit tests with clang and the
# portable platform layer (so no Linux-only call creeps back into the game).
# It also builds the Debian package and tries it.
#
# The player's tree is built first (the others borrow its assets). While its
# tests run, the other trees are built at a lower priority: much of a test's
# time is spent waiting for the game's frames, and the compiler fills it.
set -euo pipefail
cd "$(dirname "$0")"
source tools/env.sh
hh_prepare

# Every test's scratch files go into one folder: removed when all passed,
# kept and named when something failed.
scratch="$(mktemp -d "${TMPDIR:-/tmp}/henhouse-tests.XXXXXX")"
# A run that stops before any test could fail (a build that fails) leaves
# nothing behind.
HH_REMOVE_ON_EXIT=$scratch
started=$SECONDS
took() { say "($(( (SECONDS - started) / 60 )) min $(( (SECONDS - started) % 60 )) s so far)"; }

say "building the game and its tests (build/play, the player's tree)"
hh_build_tests
took

# The normal build's tests, in the background, their output kept for later.
status=0
logs="$scratch/logs"
mkdir -p "$logs"
# The hearing checks come later, alone: the sound server must be fed in time.
say "running the tests (build/play) while the other builds are made"
# A process group of their own (job control, for this job only), so a run cut
# short ends them with everything they started.
set -m
(
  export TMPDIR="$scratch"
  code=0
  hh_virtual_display ctest --test-dir "$HH_PLAY" --output-on-failure -j 4 -E '^sound_' >"$logs/play.txt" 2>&1 || code=1
  echo "$code" >"$logs/play.status"
) &
tests_pid=$!
set +m
HH_BACKGROUND=$tests_pid

# What a portable build could change: the game itself and the unit tests of
# its layers. The end-to-end, real-input and reliability runs would play the
# same game code once more, so they do not run there.
clang_tests=(platform core actors poultry eggline world app)
# Under the sanitizers: the layers' unit tests and the reliability runs
# (damaged files and input, faults, the monkey's hours of play), which reach
# the code that handles memory and input. The end-to-end program plays the
# same paths as a whole game, and is left to the normal build.
asan_tests=("${clang_tests[@]}" reliability)
# The ctest label that picks these programs' tests (a program may run as
# parts, each labelled with its name).
programs() { local IFS='|'; echo "^($*)\$"; }
with_clang=0
build_others() {
  say "building the sanitizer build (build/asan)"
  HH_NICE=1 HH_TARGET="henhouse ${asan_tests[*]/#/test_}" hh_build "$HH_ASAN" Debug -DHENHOUSE_SANITIZE=ON \
    -DHENHOUSE_ASSETS_FROM="$HH_RUN" \
    -DCMAKE_CXX_FLAGS_DEBUG="-g1 -O1"
  if henv sh -c 'command -v clang++' >/dev/null 2>&1; then
    with_clang=1
    say "building with clang and the portable platform layer (build/clang)"
    HH_NICE=1 HH_TARGET="henhouse ${clang_tests[*]/#/test_}" hh_build "$HH_CLANG" Debug \
      -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS_DEBUG=-O0 -DHENHOUSE_PORTABLE=ON \
      -DHENHOUSE_PCH=OFF -DHENHOUSE_ASSETS_FROM="$HH_RUN"
  else
    say "no clang here: skipping the clang build"
  fi
  # The Debian package, built and checked, then installed into a throwaway
  # copy of the build environment (outside ctest: it needs the environment's
  # own folder).
  say "building the package and trying it in a copy of the build environment"
  HH_NICE=1 HH_ASSETS_BUILT=1 bash tests/install/package.test.sh >"$logs/package.txt" 2>&1 || package_status=1
}
package_status=0
build_others
took

wait "$tests_pid" || true
HH_BACKGROUND=""
# From here on a failure keeps the scratch folder.
HH_REMOVE_ON_EXIT=""
cat "$logs/play.txt"
[ "$(cat "$logs/play.status" 2>/dev/null)" = 0 ] || status=1
cat "$logs/package.txt"
[ "$package_status" = 0 ] || status=1
took

export TMPDIR="$scratch"
say "hearing the game (build/play), with nothing else running"
hh_virtual_display ctest --test-dir "$HH_PLAY" --output-on-failure -R '^sound_' || status=1
took

say "running the tests with sanitizers (build/asan)"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  hh_virtual_display ctest --test-dir "$HH_ASAN" --output-on-failure -j 2 -L "$(programs "${asan_tests[@]}")" || status=1
took
if [ "$with_clang" -eq 1 ]; then
  say "running the clang build's tests (the layers' unit tests, build/clang)"
  hh_virtual_display ctest --test-dir "$HH_CLANG" --output-on-failure -j 2 -L "$(programs "${clang_tests[@]}")" \
    || status=1
  took
fi

if [ "$status" -ne 0 ]; then
  say "some tests failed; their scratch files are kept in $scratch"
  exit 1
fi
rm -rf "$scratch"
say "all tests passed"
