#!/usr/bin/env bash
# Runs a Windows program in the test bench's Wine prefix and display (the
# environment that scripts/test.sh wrote into build/wine.env).
env_file=${VORNEL_WINE_ENV:-$(cd "$(dirname "$0")/.." && pwd)/build/wine.env}
if [ -f "$env_file" ]; then
  # shellcheck disable=SC1090
  . "$env_file"
else
  echo "wine-exec: $env_file missing; run scripts/test.sh first" >&2
  exit 1
fi
exec "$VORNEL_WINE" "$@"
