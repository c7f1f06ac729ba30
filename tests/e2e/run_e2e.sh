#!/bin/bash
# Runs one end-to-end program under Wine:
#   run_e2e.sh <build-dir> <program.exe> [args...]
# Without $DISPLAY it starts its own Xvfb. The program runs in the build's e2e
# prefix (<build-dir>/wineprefix-e2e) with the x11 driver so screenshots work.
# On exit, failure or interruption it stops that prefix's wineserver and the
# Xvfb it started. Exits with the program's code (124 when timed out).
set -u
if [ $# -lt 2 ]; then
  echo "usage: $0 <build-dir> <program.exe> [args...]" >&2
  exit 2
fi
build=$(cd "$1" && pwd) || exit 2
shift
export MARLUNE_WINEPREFIX="$build/wineprefix-e2e"
export MARLUNE_WINE_GRAPHICS=x11
limit="${MARLUNE_E2E_TIMEOUT:-900}"

# One end-to-end program per prefix at a time, also across test runners: they
# share its DDE names and clipboard, and the clean-up stops the whole prefix.
mkdir -p "$build"
exec 8>"$MARLUNE_WINEPREFIX.run.lock"
flock 8

xvfb_pid=""
child_pid=""
display_file=""
cleanup() {
  [ -n "$child_pid" ] && kill "$child_pid" 2>/dev/null
  WINEPREFIX="$MARLUNE_WINEPREFIX" wineserver -k >/dev/null 2>&1
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  [ -n "$display_file" ] && rm -f "$display_file"
}
trap cleanup EXIT
trap 'exit 143' TERM
trap 'exit 130' INT

if [ -z "${DISPLAY:-}" ]; then
  display_file=$(mktemp)
  # Xvfb writes the display number it chose once it accepts clients.
  Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$display_file" </dev/null >/dev/null 2>&1 8>&- &
  xvfb_pid=$!
  # Its first start on a fresh machine (fonts, keymap) took over 10 s once.
  for _ in $(seq 1200); do
    [ -s "$display_file" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.05
  done
  if [ ! -s "$display_file" ]; then
    echo "run_e2e.sh: Xvfb did not start" >&2
    exit 3
  fi
  export DISPLAY=":$(head -n 1 "$display_file")"
fi

# In the background so a TERM from the test runner is handled at once.
timeout --kill-after=10 "$limit" "$build/wine-run.sh" "$@" 8>&- &
child_pid=$!
wait "$child_pid"
rc=$?
child_pid=""
exit "$rc"
