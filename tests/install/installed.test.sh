#!/usr/bin/env bash
# The installed game: `cmake --install` into a DESTDIR, then the installed
# executable started from another folder finds its data from its own path and
# draws exactly the frame the game draws in build/run. Moved away from its
# data, it names both places it looked in, in one line.
# Usage: installed.test.sh BUILD_DIR RUN_DIR (on a display)
set -uo pipefail
build="$(cd "$1" && pwd)"
run="$(cd "$2" && pwd)"
source "$(dirname "$0")/../support/scratch.sh"
work="$(new_scratch installed)"
trap 'drop_scratch "$work"' EXIT
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

prefix="$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")"
bindir="$(sed -n 's/^CMAKE_INSTALL_BINDIR:PATH=//p' "$build/CMakeCache.txt")"
datadir="$(sed -n 's/^HENHOUSE_INSTALL_DATADIR:STRING=//p' "$build/CMakeCache.txt")"
app_id="$(sed -n 's/^HENHOUSE_APP_ID:STRING=//p' "$build/CMakeCache.txt")"
dest="$work/dest"
echo "installing into $dest$prefix"
DESTDIR="$dest" cmake --install "$build" >"$work/install.log" 2>&1 || { cat "$work/install.log"; exit 1; }

installed="$dest$prefix/$bindir/henhouse"
data="$dest$prefix/$datadir"
share="$dest$prefix/share"
echo "every part is in place"
[ -x "$installed" ] || fail "no executable at $installed"
for folder in images sounds fonts; do
  [ -d "$data/$folder" ] || fail "no $folder/ in $data"
done
[ "$(find "$data/images" -name '*.png' | wc -l)" = "$(find -L "$run/src/images" -name '*.png' | wc -l)" ] \
  || fail "the installed images are not all of build/run's"
[ ! -e "$data/.generated" ] || fail "the build's stamp was installed"
[ -f "$share/applications/$app_id.desktop" ] || fail "no desktop entry"
[ -f "$share/metainfo/$app_id.metainfo.xml" ] || fail "no metainfo"
for size in 16 22 24 32 48 64 128 256 512; do
  icon="$share/icons/hicolor/${size}x${size}/apps/$app_id.png"
  got="$(file -b "$icon" 2>/dev/null)"
  case "$got" in "PNG image data, $size x $size, "*) ;; *) fail "icon $icon: ${got:-missing}" ;; esac
done
grep -q '<svg' "$share/icons/hicolor/scalable/apps/$app_id.svg" 2>/dev/null || fail "no scalable icon"
grep -qx "Exec=$prefix/$bindir/henhouse" "$share/applications/$app_id.desktop" || fail "the desktop entry starts something else"

# The man page lists every option --help lists, and no other.
man="$(ls "$share"/man/man6/henhouse.6* 2>/dev/null | head -n 1)"
if [ -z "$man" ]; then
  fail "no man page"
else
  case "$man" in *.gz) page="$(gzip -dc "$man")" ;; *) page="$(<"$man")" ;; esac
  from_man="$(sed -n 's/^\.BI\{0,1\} "\{0,1\}\(\\-\\-[-a-z\\]*\).*/\1/p' <<<"$page" | sed 's/\\-/-/g' | sort)"
  from_help="$("$installed" --help | grep -o '^  --[a-z-]*' | tr -d ' ' | sort)"
  [ -n "$from_help" ] && [ "$from_man" = "$from_help" ] \
    || fail "the man page's options differ from --help's: $(diff <(echo "$from_man") <(echo "$from_help") | tr '\n' ' ')"
fi

# The same frame from build/run and from the installed game in another folder.
shot=(--seed 7 --fixed-dt 0.1 --frames 40 --mute)
echo "a frame from build/run"
(cd "$run" && ./henhouse "${shot[@]}" --screenshot "$work/built.png" >"$work/built.log" 2>&1) \
  || fail "build/run's game failed: $(tail -n 3 "$work/built.log")"
mkdir "$work/elsewhere"
echo "the same frame from the installed game, started in $work/elsewhere"
(cd "$work/elsewhere" && "$installed" "${shot[@]}" --screenshot "$work/installed.png" >"$work/installed.log" 2>&1) \
  || fail "the installed game failed: $(tail -n 3 "$work/installed.log")"
if [ -s "$work/built.png" ] && [ -s "$work/installed.png" ]; then
  cmp -s "$work/built.png" "$work/installed.png" || fail "the installed game's frame differs from build/run's"
else
  fail "a screenshot is missing"
fi
! grep -h "is missing\|not loaded" "$work/built.log" "$work/installed.log" \
  || fail "a run missed some of its files"
[ -z "$(ls -A "$work/elsewhere")" ] || fail "the installed game wrote into its working folder: $(ls -A "$work/elsewhere")"

echo "moved away from its data, it names both places in one line"
mkdir -p "$work/moved/bin"
cp "$installed" "$work/moved/bin/henhouse"
(cd "$work/elsewhere" && "$work/moved/bin/henhouse" --frames 1 >"$work/moved.log" 2>&1)
status=$?
[ "$status" = 1 ] || fail "without data the game ended with status $status"
beside="$(realpath -m "$work/moved/bin/$(realpath -m --relative-to="$prefix/$bindir" "$prefix/$datadir")")"
want="henhouse: no game assets here: $work/elsewhere/src/images is missing, and no installed copy is in $beside"
grep -v "no audio device" "$work/moved.log" >"$work/moved.lines"
[ "$(wc -l <"$work/moved.lines")" = 1 ] || fail "not one line: $(cat "$work/moved.lines")"
case "$(cat "$work/moved.lines")" in
  "$want or $prefix/$datadir (start the game in build/run, with ./play.sh, or install it)") ;;
  *) fail "it said: $(cat "$work/moved.lines")" ;;
esac

[ "$failures" = 0 ] && echo "installed game: all checks passed"
exit $((failures > 0))
