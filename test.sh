#!/usr/bin/env bash
# Builds the game and runs every test: once in the normal build and once with
# AddressSanitizer (leaks included) and UndefinedBehaviorSanitizer, under a
# virtual display; then builds it with clang and the portable platform layer
# (so no Linux-only call creeps back into the game) and runs the tests that
# are quick there; last, builds the Debian package and tries it.
set -euo pipefail
cd "$(dirname "$0")"
source tools/env.sh
hh_prepare

say "building the game and its tests (build/main)"
hh_build_main
say "building the sanitizer build (build/asan)"
hh_build "$HH_ASAN" Debug -DHENHOUSE_SANITIZE=ON -DHENHOUSE_ASSETS_FROM="$HH_RUN"
with_clang=0
if henv sh -c 'command -v clang++' >/dev/null 2>&1; then
  with_clang=1
  say "building with clang and the portable platform layer (build/clang)"
  hh_build "$HH_CLANG" Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DHENHOUSE_PORTABLE=ON \
    -DHENHOUSE_ASSETS_FROM="$HH_RUN"
else
  say "no clang here: skipping the clang build"
fi

status=0
say "running the tests"
hh_virtual_display ctest --test-dir "$HH_MAIN" --output-on-failure -j 2 || status=1
say "running the tests with sanitizers"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  hh_virtual_display ctest --test-dir "$HH_ASAN" --output-on-failure -j 2 || status=1
if [ "$with_clang" -eq 1 ]; then
  # The long reliability runs add nothing a portable build could break.
  say "running the clang build's tests (all but the long reliability runs)"
  hh_virtual_display ctest --test-dir "$HH_CLANG" --output-on-failure -j 2 -E '^reliability$' || status=1
fi

# The Debian package, built and checked, then installed into a throwaway
# copy of the build environment (outside ctest: it needs the environment's
# own folder).
say "building the package and trying it in a copy of the build environment"
bash tests/install/package.test.sh || status=1

if [ "$status" -ne 0 ]; then
  say "some tests failed"
  exit 1
fi
say "all tests passed"
