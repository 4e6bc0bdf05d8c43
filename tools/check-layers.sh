#!/usr/bin/env bash
# Holds every source file to the layering: a file in a layer's folder includes
# headers only from its own folder and the layers below it, and only the
# platform layer includes the system's own headers. The layers and
# what lies below each come from the henhouse_layer(NAME BELOW...) lines of
# the top CMakeLists.txt, so the order is written in one place.
#   tools/check-layers.sh [SOURCE_DIR]
set -euo pipefail
top="${1:-$(cd "$(dirname "$0")/.." && pwd)}"

declare -A below=()
order=()
while read -r name deps; do
  order+=("$name")
  below[$name]="$deps"
done < <(sed -n 's/^henhouse_layer(\([^)]*\)).*/\1/p' "$top/CMakeLists.txt")
[ ${#order[@]} -gt 0 ] || { echo "check-layers: no henhouse_layer lines in $top/CMakeLists.txt" >&2; exit 2; }

# Everything a layer may reach: itself and, transitively, what lies below it.
reach() {
  local seen=" $1 " queue=($1) next dep
  while [ ${#queue[@]} -gt 0 ]; do
    next="${queue[0]}"; queue=("${queue[@]:1}")
    for dep in ${below[$next]:-}; do
      case "$seen" in *" $dep "*) ;; *) seen+="$dep "; queue+=("$dep") ;; esac
    done
  done
  printf '%s' "$seen"
}

# Headers of one system only (memory mapping, the C library's heap tuning,
# Linux's own interfaces, Windows) belong to the platform layer alone, which
# has a portable variant: anything else that needs them goes through it. The
# POSIX file calls the save and screenshot writers make (open, fsync, rename)
# are the same on every Unix and may be used where they are needed.
system_only='sys/mman\.h|malloc\.h|linux/[^>]*|sys/sysinfo\.h|sys/prctl\.h|dlfcn\.h|windows\.h'

bad=0
for layer in "${order[@]}"; do
  allowed="$(reach "$layer")"
  [ -d "$top/$layer" ] || { echo "check-layers: layer folder $layer/ is missing" >&2; bad=1; continue; }
  while IFS=: read -r file line text; do
    # (Matched in the shell: a process per line made this check take most of a minute.)
    [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^/\"]*)/ ]] || continue
    folder="${BASH_REMATCH[1]}"
    case "$allowed" in
      *" $folder "*) ;;
      *) echo "${file#"$top"/}:$line: layer $layer includes from $folder/, which is not below it" >&2; bad=1 ;;
    esac
  done < <(grep -Hn '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$top/$layer"/*.hpp "$top/$layer"/*.cpp 2>/dev/null || true)
  [ "$layer" = platform ] && continue
  while IFS=: read -r file line text; do
    echo "${file#"$top"/}:$line: layer $layer includes a system header; only platform/ may" >&2; bad=1
  done < <(grep -HnE "^[[:space:]]*#[[:space:]]*include[[:space:]]*<($system_only)>" "$top/$layer"/*.hpp "$top/$layer"/*.cpp 2>/dev/null || true)
done
if [ "$bad" -ne 0 ]; then
  echo "check-layers: includes that go up or sideways, or system headers outside platform/ (layers, lowest first: ${order[*]})" >&2
  exit 1
fi
echo "check-layers: ${#order[@]} layers, every include goes down (${order[*]})"
