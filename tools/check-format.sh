#!/usr/bin/env bash
# Holds every C++ file of the game, its tests, benchmarks and tools to the
# committed .clang-format: lists the files that differ and fails if any does.
#   tools/check-format.sh [SOURCE_DIR]
set -euo pipefail
top="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
command -v clang-format >/dev/null || { echo "check-format: clang-format is not installed" >&2; exit 2; }
cd "$top"
mapfile -t files < <(find platform core actors poultry eggline world app tests bench tools \
                       \( -name '*.cpp' -o -name '*.hpp' \) -type f | sort)
[ ${#files[@]} -gt 0 ] || { echo "check-format: no C++ files under $top" >&2; exit 2; }
# One clang-format for all of them (a process per file took most of a minute):
# each file out of layout is named on the first line it would change.
report="$(clang-format --style=file --dry-run --Werror "${files[@]}" 2>&1)" && status=0 || status=$?
mapfile -t bad < <(sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' <<<"$report" | uniq)
if [ "$status" -ne 0 ] && [ ${#bad[@]} -eq 0 ]; then
  printf '%s\n' "$report" >&2
  echo "check-format: clang-format failed (status $status)" >&2
  exit 2
fi
if [ ${#bad[@]} -ne 0 ]; then
  printf 'check-format: not in the committed layout: %s\n' "${bad[@]}" >&2
  echo "check-format: run clang-format -i on them (the layout is .clang-format)" >&2
  exit 1
fi
echo "check-format: ${#files[@]} files in the committed layout"
