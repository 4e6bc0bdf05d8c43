#!/usr/bin/env bash
# Builds a release build and runs one benchmark: ./bench.sh NAME
set -euo pipefail
cd "$(dirname "$0")"
[ $# -ge 1 ] || { echo "usage: ./bench.sh NAME [ARGS...]" >&2; exit 2; }
name="$1"; shift
source tools/env.sh
hh_prepare
case "$name" in
  */*|.*) die "no benchmark named '$name'" ;;
esac
[ -f "bench/$name.cpp" ] || die "no benchmark named '$name' (looked for bench/$name.cpp)"
say "building the game's assets (build/play)"
hh_build_assets
say "building the release build (build/release)"
HH_TARGET="$name" hh_build "$HH_RELEASE" Release -DHENHOUSE_ASSETS_FROM="$HH_RUN" -DBUILD_TESTING=OFF
exe="$HH_RELEASE/bench/$name"
cd "$HH_RELEASE/run"
hh_virtual_display "$exe" "$@"
