#!/usr/bin/env bash
# Runs a Windows program in the test bench's Wine prefix and display (the
# environment that scripts/test.sh wrote into build/wine.env). With
# VORNEL_DISPLAY_DEPTH set (a test's property), or when that display has ended,
# the program gets a display of its own instead, for as long as it runs.
env_file=${VORNEL_WINE_ENV:-$(cd "$(dirname "$0")/.." && pwd)/build/wine.env}
if [ -f "$env_file" ]; then
  # shellcheck disable=SC1090
  . "$env_file"
else
  echo "wine-exec: $env_file missing; run scripts/test.sh once, which writes it" >&2
  exit 1
fi
. "$(dirname "$0")/lib.sh"

# Run by hand after scripts/test.sh, whose display and prefix are gone by then: the prefix
# is made again where it was, and the program gets a display of its own.
[ -f "$WINEPREFIX/system.reg" ] || use_wine_prefix "$WINEPREFIX" "$WINEARCH" ||
  { echo "wine-exec: cannot make the Wine prefix $WINEPREFIX" >&2; exit 1; }
display_alive() { [ -n "${DISPLAY:-}" ] && [ -S "/tmp/.X11-unix/X${DISPLAY#:}" ]; }
if [ -z "${VORNEL_DISPLAY_DEPTH:-}" ] && display_alive; then exec "$VORNEL_WINE" "$@"; fi

# Wine's processes keep the display they started on: the programs before this one
# end first, and this one's end before the next program starts.
wineserver -w
start_xvfb "${VORNEL_DISPLAY_DEPTH:-24}"
"$VORNEL_WINE" "$@"
status=$?
wineserver -w
kill "$XVFB_PID" 2>/dev/null
wait "$XVFB_PID" 2>/dev/null
exit $status
