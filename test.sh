#!/usr/bin/env bash
# Builds the game and runs every test: once in the normal build and once with
# AddressSanitizer and UndefinedBehaviorSanitizer, under a virtual display.
set -euo pipefail
cd "$(dirname "$0")"
source tools/env.sh
hh_prepare

say "building the game and its tests (build/main)"
hh_build_main
say "building the sanitizer build (build/asan)"
hh_build "$HH_ASAN" Debug -DHENHOUSE_SANITIZE=ON -DHENHOUSE_ASSETS_FROM="$HH_RUN"

status=0
say "running the tests"
hh_virtual_display ctest --test-dir "$HH_MAIN" --output-on-failure -j 2 || status=1
say "running the tests with sanitizers"
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  hh_virtual_display ctest --test-dir "$HH_ASAN" --output-on-failure -j 2 || status=1

if [ "$status" -ne 0 ]; then
  say "some tests failed"
  exit 1
fi
say "all tests passed in both builds"
