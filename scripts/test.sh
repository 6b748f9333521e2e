#!/usr/bin/env bash
# Installs what is missing, builds every tree and runs every test: the native
# unit tests, then the Windows test programs under Wine on a virtual display.
set -euo pipefail
. "$(dirname "$0")/lib.sh"

ensure_packages
build_all

arch=$(test_arch)
if [ "$arch" = i686 ]; then
  exe=$VORNEL_BUILD/win32/Vornel.exe
else
  log "this host cannot execute i386 code: the Windows tests run a 64-bit build of the same sources under 64-bit Wine"
  exe=$VORNEL_BUILD/win32-tests/Vornel.exe
fi
export VORNEL_EXE="Z:${exe//\//\\}"

work=$(mktemp -d /tmp/vornel-test.XXXXXX)
cleanup() {
  local status=$?
  stop_wine_and_display
  rm -rf "$work"
  exit $status
}
trap cleanup EXIT
start_xvfb
log "Wine prefix in $work/prefix ($( [ "$arch" = i686 ] && echo win32 || echo win64 )), display $DISPLAY"
make_wine_prefix "$work/prefix"
write_wine_env "$VORNEL_BUILD/wine.env"

status=0
log "native unit tests"
ctest --test-dir "$VORNEL_BUILD/native" --output-on-failure || status=1
log "Windows tests under Wine"
ctest --test-dir "$VORNEL_BUILD/win32-tests" --output-on-failure || status=1
exit $status
