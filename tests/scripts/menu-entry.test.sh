#!/usr/bin/env bash
# ./play.sh --install and --uninstall in a player's data folder that already
# holds things of its own: the entry and icons arrive, start this checkout's
# play.sh and pass desktop-file-validate; uninstalling leaves the folder
# exactly as it was; a file of the player's in the way is left alone.
# Usage: menu-entry.test.sh CHECKOUT
set -uo pipefail
top="$(cd "$1" && pwd)"
source "$top/tests/support/scratch.sh"
work="$(new_scratch menu)"
trap 'drop_scratch "$work"' EXIT
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
app_id="org.henhouse.henhouse"

# Everything in a folder: each path with its type and mode, and each file's contents.
snapshot() {
  (cd "$1" && find . -printf '%y %m %p\n' | sort && find . -type f -exec md5sum {} + | sort)
}

data="$work/data dir"
mkdir -p "$data/applications" "$data/icons/hicolor/48x48/apps" "$data/henhouse"
echo "[Desktop Entry]" >"$data/applications/other.desktop"
echo "picture" >"$data/icons/hicolor/48x48/apps/other.png"
echo '{"a farm": true}' >"$data/henhouse/farm.json"
before="$(snapshot "$data")"

echo "install"
XDG_DATA_HOME="$data" "$top/play.sh" --install >"$work/out.txt" 2>"$work/err.txt"
status=$?
[ "$status" = 0 ] || fail "--install ended with status $status: $(tail -n 3 "$work/err.txt")"
entry="$data/applications/$app_id.desktop"
[ -f "$entry" ] || fail "no desktop entry at $entry"
desktop-file-validate "$entry" || fail "desktop-file-validate refused the entry"
[ "$(sed -n 's/^Exec=//p' "$entry")" = "\"$top/play.sh\"" ] || fail "the entry starts $(sed -n 's/^Exec=//p' "$entry")"
for size in 16 22 24 32 48 64 128 256 512; do
  [ -s "$data/icons/hicolor/${size}x${size}/apps/$app_id.png" ] || fail "no $size px icon"
done
[ -s "$data/icons/hicolor/scalable/apps/$app_id.svg" ] || fail "no scalable icon"
[ "$(cat "$data/henhouse/farm.json")" = '{"a farm": true}' ] || fail "the farm changed"

echo "install again (nothing doubles)"
XDG_DATA_HOME="$data" "$top/play.sh" --install >"$work/out.txt" 2>"$work/err.txt" || fail "a second --install failed: $(tail -n 3 "$work/err.txt")"

echo "uninstall"
XDG_DATA_HOME="$data" "$top/play.sh" --uninstall >"$work/out.txt" 2>"$work/err.txt" || fail "--uninstall failed: $(tail -n 3 "$work/err.txt")"
after="$(snapshot "$data")"
[ "$before" = "$after" ] || fail "the data folder changed: $(diff <(echo "$before") <(echo "$after") | tr '\n' ' ')"

echo "into an empty data folder and out again: nothing stays"
empty="$work/empty"
mkdir "$empty"
XDG_DATA_HOME="$empty" "$top/play.sh" --install >/dev/null 2>"$work/err.txt" || fail "--install into an empty folder failed"
XDG_DATA_HOME="$empty" "$top/play.sh" --uninstall >/dev/null 2>"$work/err.txt" || fail "--uninstall from it failed"
[ -z "$(ls -A "$empty")" ] || fail "left behind: $(cd "$empty" && find . | tr '\n' ' ')"

echo "a desktop entry of the player's own is left alone"
echo "[Desktop Entry]" >"$data/applications/$app_id.desktop"
before="$(snapshot "$data")"
XDG_DATA_HOME="$data" "$top/play.sh" --install >/dev/null 2>"$work/err.txt"
status=$?
[ "$status" = 1 ] || fail "--install over a foreign entry ended with status $status"
grep -q "was not added by ./play.sh --install; leaving it alone" "$work/err.txt" || fail "it said: $(tail -n 1 "$work/err.txt")"
[ "$before" = "$(snapshot "$data")" ] || fail "the refused install changed the folder"

echo "a relative XDG_DATA_HOME is refused"
(cd "$work" && XDG_DATA_HOME="rel" "$top/play.sh" --install >/dev/null 2>"$work/err.txt")
[ $? = 1 ] && [ ! -e "$work/rel" ] || fail "a relative data folder was used"

[ "$failures" = 0 ] && echo "menu entry: all checks passed"
exit $((failures > 0))
