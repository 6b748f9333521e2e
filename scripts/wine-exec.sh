#!/usr/bin/env bash
# Runs a Windows program in the test bench's Wine prefix and display (the
# environment that scripts/test.sh wrote into build/wine.env). With
# VORNEL_DISPLAY_DEPTH set (a test's property), the program gets a display of
# its own of that depth instead, for as long as it runs.
env_file=${VORNEL_WINE_ENV:-$(cd "$(dirname "$0")/.." && pwd)/build/wine.env}
if [ -f "$env_file" ]; then
  # shellcheck disable=SC1090
  . "$env_file"
else
  echo "wine-exec: $env_file missing; run scripts/test.sh first" >&2
  exit 1
fi
[ -z "${VORNEL_DISPLAY_DEPTH:-}" ] && exec "$VORNEL_WINE" "$@"

. "$(dirname "$0")/lib.sh"
# Wine's processes keep the display they started on: the programs before this one
# end first, and this one's end before the next program starts.
wineserver -w
start_xvfb "$VORNEL_DISPLAY_DEPTH"
"$VORNEL_WINE" "$@"
status=$?
wineserver -w
kill "$XVFB_PID" 2>/dev/null
wait "$XVFB_PID" 2>/dev/null
exit $status
