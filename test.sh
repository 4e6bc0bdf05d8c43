#!/usr/bin/env bash
# Builds the game and runs every test: once in the normal build (warnings as
# errors) and once with AddressSanitizer (leaks included) and
# UndefinedBehaviorSanitizer, under a virtual display; then builds the game
# and its unit tests with clang and the portable platform layer (so no
# Linux-only call creeps back into the game) and runs those there. The
# player's build (./play.sh's) is built first: the others borrow its assets.
# Last, builds the Debian package and tries it.
set -euo pipefail
cd "$(dirname "$0")"
source tools/env.sh
hh_prepare

# Every test's scratch files go into one folder: removed when all passed,
# kept and named when something failed.
scratch="$(mktemp -d "${TMPDIR:-/tmp}/henhouse-tests.XXXXXX")"
started=$SECONDS
took() { say "($(( (SECONDS - started) / 60 )) min $(( (SECONDS - started) % 60 )) s so far)"; }

say "building the game as ./play.sh does (build/play)"
hh_build_play
say "building the game and its tests (build/main)"
# The asset generator too: the main tree borrows the assets, but its warnings count.
HH_TARGET="all henhouse-assets" hh_build_main
say "building the sanitizer build (build/asan)"
hh_build "$HH_ASAN" Debug -DHENHOUSE_SANITIZE=ON -DHENHOUSE_ASSETS_FROM="$HH_RUN"
# What a portable build could change: the game itself and the unit tests of
# its layers. The end-to-end, real-input and reliability runs play the same
# game code a third time, so they run in the other two builds only.
clang_tests=(platform core actors poultry eggline world app)
with_clang=0
if henv sh -c 'command -v clang++' >/dev/null 2>&1; then
  with_clang=1
  say "building with clang and the portable platform layer (build/clang)"
  HH_TARGET="henhouse ${clang_tests[*]/#/test_}" hh_build "$HH_CLANG" Debug -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DHENHOUSE_PORTABLE=ON -DHENHOUSE_ASSETS_FROM="$HH_RUN"
else
  say "no clang here: skipping the clang build"
fi
took

status=0
export TMPDIR="$scratch"
say "running the tests"
hh_virtual_display ctest --test-dir "$HH_MAIN" --output-on-failure -j 2 || status=1
took
say "running the tests with sanitizers"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  hh_virtual_display ctest --test-dir "$HH_ASAN" --output-on-failure -j 2 || status=1
took
if [ "$with_clang" -eq 1 ]; then
  say "running the clang build's tests (the layers' unit tests)"
  pattern="$(IFS='|'; echo "^(${clang_tests[*]})\$")"
  hh_virtual_display ctest --test-dir "$HH_CLANG" --output-on-failure -j 2 -R "$pattern" || status=1
  took
fi

# The Debian package, built and checked, then installed into a throwaway
# copy of the build environment (outside ctest: it needs the environment's
# own folder).
say "building the package and trying it in a copy of the build environment"
bash tests/install/package.test.sh || status=1

if [ "$status" -ne 0 ]; then
  say "some tests failed; their scratch files are kept in $scratch"
  exit 1
fi
rm -rf "$scratch"
say "all tests passed"
