# The test scripts' scratch folder: removed when the script passed (or was
# skipped), kept for a look when it failed, and named then.
#
#   source scratch.sh; work=$(new_scratch NAME)
#   trap 'drop_scratch "$work"' EXIT         (or from the script's own trap,
#                                             with the status it ends with)

# new_scratch NAME: makes a folder under $TMPDIR and prints its path.
new_scratch() {
  mktemp -d "${TMPDIR:-/tmp}/henhouse-$1.XXXXXX"
}

# drop_scratch DIR [STATUS]: STATUS defaults to the status the script is
# ending with (call it first thing in an exit trap).
drop_scratch() {
  local status=${2:-$?}
  [ -n "$1" ] && [ -d "$1" ] || return 0
  if [ "$status" -eq 0 ] || [ "$status" -eq 77 ]; then
    rm -rf "$1"
  else
    echo "$(basename "$0"): its scratch files are kept in $1" >&2
  fi
}
