# Shared by the scripts that play the real game with real X input: a virtual
# display of the script's own, so that no other test's window takes the focus
# or the clicks and the scripts can run beside each other.
#
#   source lib.sh; own_display 1920x1080     exports DISPLAY
#   stop_display                             in the script's exit trap

display_pid=""

# own_display WxH: starts a virtual screen of that size on a free display
# number (the X server names it once it takes connections).
own_display() {
  local named end
  named=$(mktemp "${TMPDIR:-/tmp}/henhouse-display.XXXXXX")
  Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp -noreset 3>"$named" 2>/dev/null &
  display_pid=$!
  end=$((SECONDS + 120))
  until grep -q '[0-9]' "$named"; do
    if ! kill -0 "$display_pid" 2>/dev/null || [ "$SECONDS" -ge "$end" ]; then
      rm -f "$named"
      stop_display
      echo "the virtual display did not start" >&2
      exit 1
    fi
    sleep 0.1
  done
  DISPLAY=":$(tr -dc '0-9' <"$named")"
  export DISPLAY
  rm -f "$named"
}

stop_display() {
  [ -n "$display_pid" ] || return 0
  kill "$display_pid" 2>/dev/null || true
  wait "$display_pid" 2>/dev/null || true
  display_pid=""
}
