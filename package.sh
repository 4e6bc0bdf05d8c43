#!/usr/bin/env bash
# Builds Henhouse's Debian package in the build environment and prints its
# path as the last line. The package installs the game under /usr/games, its
# data under /usr/share/games/henhouse, a menu entry, icons, metainfo and a
# man page; its dependencies are read from the libraries the game links
# (dpkg-shlibdeps). The package is checked with lintian, and its desktop entry
# and metainfo with desktop-file-validate and appstreamcli; any complaint
# fails the build.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cd "$here"
source tools/env.sh

hh_prepare
# The package takes the player's tree's generated images and sounds (./test.sh
# has built them already, and is running tests from that tree meanwhile).
if [ -z "${HH_ASSETS_BUILT:-}" ]; then
  say "generating the game's assets (build/play)"
  hh_build_assets
fi

dir="$HH_TOP/build/package"
if [ ! -f "$dir/CMakeCache.txt" ]; then
  # Debian's own compiler and linker flags for packages (hardening included),
  # but for the debugging information, which this package does not ship.
  flags() { henv env DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
  cflags="$(flags CXXFLAGS | sed 's/\(^\| \)-g\( \|$\)/ /g') $(flags CPPFLAGS)"
  ldflags="$(flags LDFLAGS)"
  say "configuring the package's build (build/package)"
  henv cmake -S "$HH_TOP" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=None \
    -DCMAKE_CXX_FLAGS="$cflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
    -DBUILD_TESTING=OFF -DHENHOUSE_PACKAGE=ON -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
    -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games -DHENHOUSE_INSTALL_DATADIR=share/games/henhouse \
    -DHENHOUSE_RUN_DIR="$dir/run" -DHENHOUSE_ASSETS_FROM="$HH_RUN" >/dev/null \
    || die "cmake could not configure $dir"
fi
say "building the game for the package"
# Only what the package holds (not the benchmarks).
henv ${HH_NICE:+nice -n 15} cmake --build "$dir" -j "$(nproc 2>/dev/null || echo 2)" --target henhouse install-extras package-doc \
  || die "the build in $dir failed"

say "making the package"
rm -f "$dir"/henhouse_*.deb
(cd "$dir" && henv fakeroot cpack -G DEB >"$dir/cpack.log" 2>&1) || { tail -n 20 "$dir/cpack.log" >&2; die "cpack failed (full log: $dir/cpack.log)"; }
deb="$(ls "$dir"/henhouse_*.deb)"

say "checking the package"
check="$dir/check"
rm -rf "$check"
mkdir -p "$check"
henv dpkg-deb -x "$deb" "$check" || die "cannot unpack $deb"
henv desktop-file-validate "$check"/usr/share/applications/*.desktop || die "desktop-file-validate found faults"
henv appstreamcli validate --no-net --pedantic "$check"/usr/share/metainfo/*.metainfo.xml >&2 \
  || die "appstreamcli found faults"
henv lintian --fail-on error,warning,info --info "$deb" >&2 || die "lintian found faults"
rm -rf "$check"
echo "$deb"
