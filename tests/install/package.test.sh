#!/usr/bin/env bash
# The Debian package: ./package.sh builds it and checks it (lintian,
# desktop-file-validate, appstreamcli); then it is installed with dpkg into a
# throwaway copy of the build environment, where /usr/games/henhouse, started
# from the root folder, draws the frame build/run's game draws.
#
# The copy is an overlay: the build environment read-only below, a scratch
# folder above that takes every write (dpkg's database, the files, the
# triggers), mounted in a mount namespace of this test's own and thrown away
# with it. It costs nothing to make, where copying the 1.2 GB root would take
# minutes. Run by ./test.sh on this machine (not under ctest: it needs the
# build environment's own folder). Usage: tests/install/package.test.sh
set -uo pipefail
top="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$top"
source tools/env.sh
hh_prepare
source "$top/tests/support/scratch.sh"
work="$(new_scratch package)"
trap 'drop_scratch "$work"; hh_cleanup' EXIT
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
started=$SECONDS

echo "building and checking the package"
./package.sh >"$work/package.out" 2>"$work/package.err"
status=$?
[ "$status" = 0 ] || { tail -n 20 "$work/package.err"; fail "./package.sh ended with status $status"; exit 1; }
deb="$(tail -n 1 "$work/package.out")"
[ -f "$deb" ] || { fail "the last line is not the package: $deb"; exit 1; }
echo "package: $deb ($((SECONDS - started)) s)"

contents="$(henv dpkg-deb -c "$deb")"
for path in ./usr/games/henhouse ./usr/share/games/henhouse/images/cell.png ./usr/share/games/henhouse/sounds/MainTheme.wav \
            ./usr/share/games/henhouse/fonts/Arial.ttf ./usr/share/applications/org.henhouse.henhouse.desktop \
            ./usr/share/metainfo/org.henhouse.henhouse.metainfo.xml ./usr/share/man/man6/henhouse.6.gz \
            ./usr/share/icons/hicolor/scalable/apps/org.henhouse.henhouse.svg ./usr/share/doc/henhouse/copyright; do
  grep -q " $path\( ->.*\)\{0,1\}$" <<<"$contents" || fail "the package lacks $path"
done
depends="$(henv dpkg-deb -f "$deb" Depends)"
grep -q "libsfml-graphics" <<<"$depends" && grep -q "libc6" <<<"$depends" \
  || fail "the dependencies were not read from the libraries: $depends"

if [ "$HH_MODE" != root ]; then
  echo "SKIPPED the install: this machine builds natively, with no build environment to copy"
  exit $((failures > 0))
fi

# The copy needs an overlay mounted in a namespace of the test's own (as root,
# or in a user namespace: Linux 5.11 and later).
namespace=(unshare --mount --fork)
[ "$(id -u)" = 0 ] || namespace=(unshare --user --map-root-user --mount --fork)
mkdir -p "$work/probe/lower" "$work/probe/upper" "$work/probe/work" "$work/probe/merged"
if ! "${namespace[@]}" sh -c 'mount -t overlay overlay -o "lowerdir=$1/lower,upperdir=$1/upper,workdir=$1/work" "$1/merged"' \
     sh "$work/probe" 2>"$work/probe.err"; then
  echo "SKIPPED the install: no overlay in a namespace of our own here ($(head -n 1 "$work/probe.err"))"
  exit $((failures > 0))
fi

echo "the frame from build/run"
shot=(--seed 7 --fixed-dt 0.1 --frames 40 --mute)
(cd "$HH_RUN" && hh_virtual_display ./henhouse "${shot[@]}" --screenshot "$work/built.png") >"$work/built.log" 2>&1 \
  || fail "build/run's game failed: $(tail -n 3 "$work/built.log")"

echo "installing it into a throwaway copy of the build environment"
mkdir -p "$work/upper" "$work/overlay-work" "$work/merged" "$work/pkg"
cp "$deb" "$work/pkg/henhouse.deb"
inside='set -e
mount -t overlay overlay -o "lowerdir=$1,upperdir=$2/upper,workdir=$2/overlay-work" "$2/merged"
bwrap --bind "$2/merged" / --proc /proc --dev /dev --tmpfs /tmp --bind "$2/pkg" /pkg --chdir / \
  --setenv HOME /tmp --unsetenv TMPDIR --setenv PATH /usr/local/bin:/usr/games:/usr/bin:/bin:/usr/sbin:/sbin --die-with-parent \
  sh -c "dpkg -i /pkg/henhouse.deb >/pkg/dpkg.log 2>&1 || { cat /pkg/dpkg.log; exit 3; }
         command -v henhouse >/pkg/which.txt
         xvfb-run -a -s \"-screen 0 1920x1080x24\" /usr/games/henhouse $3 --screenshot /pkg/frame.png >/pkg/game.log 2>&1 \
           || { cat /pkg/game.log; exit 4; }"'
"${namespace[@]}" sh -c "$inside" sh "$HH_ROOT" "$work" "${shot[*]}"
status=$?
[ "$status" = 0 ] || fail "installing or starting the package in the copy ended with status $status"
[ "$(cat "$work/pkg/which.txt" 2>/dev/null)" = /usr/games/henhouse ] || fail "henhouse is not on the PATH as /usr/games/henhouse"
if [ -s "$work/pkg/frame.png" ] && [ -s "$work/built.png" ]; then
  cmp -s "$work/pkg/frame.png" "$work/built.png" || fail "the packaged game's frame differs from build/run's"
else
  fail "no frame from the packaged game"
fi
[ ! -e "$HH_ROOT/usr/games/henhouse" ] || fail "the install reached the build environment itself"

echo "package test: $((SECONDS - started)) s"
[ "$failures" = 0 ] && echo "package: all checks passed"
exit $((failures > 0))
