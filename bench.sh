#!/usr/bin/env bash
# Builds a release build and runs one benchmark: ./bench.sh NAME
#   ./bench.sh startup --against REV [ROUNDS]   launch to the first frame, this
#       tree's game and REV's interleaved on the same assets
set -euo pipefail
cd "$(dirname "$0")"
[ $# -ge 1 ] || { echo "usage: ./bench.sh NAME [ARGS...]" >&2; exit 2; }
name="$1"; shift
against=""
if [ "$name" = startup ] && [ "${1:-}" = --against ]; then
  [ $# -ge 2 ] && [ -n "$2" ] || { echo "usage: ./bench.sh startup --against REV [ROUNDS]" >&2; exit 2; }
  against="$2"; shift 2
  git rev-parse --verify --quiet "$against^{commit}" >/dev/null \
    || { echo "bench: '$against' names no commit of this repository" >&2; exit 2; }
fi
source tools/env.sh
hh_prepare
case "$name" in
  */*|.*) die "no benchmark named '$name'" ;;
esac
[ -f "bench/$name.cpp" ] || die "no benchmark named '$name' (looked for bench/$name.cpp)"

# The other revision's tree and build live in a folder of their own under
# /tmp (the sandbox sees it at the same path), removed however the run ends.
other=""
bench_cleanup() {
  if [ -n "$other" ]; then
    rm -rf "$other"
    other=""
  fi
}
trap 'bench_cleanup; hh_cleanup' EXIT
for sig in INT TERM HUP; do
  trap "bench_cleanup; hh_on_signal $sig" "$sig"
done

say "building the game's assets (build/play)"
hh_build_assets
say "building the release build (build/release)"
HH_TARGET="$name" hh_build "$HH_RELEASE" Release -DHENHOUSE_ASSETS_FROM="$HH_RUN" -DBUILD_TESTING=OFF
exe="$HH_RELEASE/bench/$name"
[ -x "$exe" ] || die "no benchmark named '$name' (looked for $exe)"

if [ -n "$against" ]; then
  other="$(mktemp -d /tmp/henhouse-against.XXXXXX)"
  say "building $against as a release build in $other"
  git archive --format=tar "$against" | tar -x -C "$other/" || die "cannot export $against"
  # The same generated assets as this tree's game, so both load the same files.
  henv cmake -S "$other" -B "$other/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DHENHOUSE_ASSETS_FROM="$HH_RUN" -DBUILD_TESTING=OFF >/dev/null \
    || die "cmake could not configure $against"
  henv cmake --build "$other/build" -j "$(nproc 2>/dev/null || echo 2)" --target henhouse \
    || die "the build of $against failed"
  old="$(find "$other/build" -name henhouse -type f -perm -u+x -print -quit)"
  [ -n "$old" ] || die "the build of $against made no game"
  set -- --against "$old" "$against" "$@"
fi

cd "$HH_RELEASE/run"
hh_virtual_display "$exe" "$@"
