#!/usr/bin/env bash
# Installs what is missing, builds every tree and runs every test: the native
# unit tests, the same under the sanitizers, a short run of each fuzz target,
# then the Windows test programs under Wine on a virtual display.
# The i686 test programs drive the shipped build/win32/Vornel.exe under 32-bit
# Wine: on this host when it can execute i386 code, else in the emulated PC of
# scripts/guest.sh, after the same programs built for x86-64 have run under the
# host's 64-bit Wine.
set -euo pipefail
. "$(dirname "$0")/lib.sh"

ensure_packages
build_all
if needs_guest; then
  log "this host cannot execute i386 code (or VORNEL_GUEST=1): the i686 tests run in the test guest"
  "$VORNEL_ROOT/scripts/guest.sh" build
fi

use_scratch_folder vornel-test

status=0
log "source formatting"
check_format || status=1
log "native unit tests"
ctest --test-dir "$VORNEL_BUILD/native" --output-on-failure || status=1
log "native unit tests under the address and undefined-behaviour sanitizers"
ctest --test-dir "$VORNEL_BUILD/native-asan" --output-on-failure || status=1
log "fuzz targets, a short run over each seed corpus"
ctest --test-dir "$VORNEL_BUILD/fuzz" --output-on-failure || status=1

# Runs the Windows test programs of a tree under Wine on this host.
run_on_host() { # tree arch exe
  export VORNEL_EXE="Z:${3//\//\\}"
  start_xvfb
  log "Windows tests of build/$1 under Wine ($2), display $DISPLAY"
  use_wine_prefix "$work/prefix-$2" "$2"
  write_wine_env "$VORNEL_BUILD/wine.env"
  ctest --test-dir "$VORNEL_BUILD/$1" --output-on-failure || status=1
  stop_wine_and_display
}

# The installer, where the 32-bit programs run: beside the shipped program.
setup=$(cd "$VORNEL_BUILD/win32" && ls -t Vornel-*-setup.exe | head -n 1)
if ! needs_guest; then
  export VORNEL_SETUP="Z:${VORNEL_BUILD//\//\\}\\win32\\$setup"
  run_on_host win32-tests win32 "$VORNEL_BUILD/win32/Vornel.exe"
  exit $status
fi

run_on_host win32-tests-x64 win64 "$VORNEL_BUILD/win32-tests-x64/Vornel.exe"

# In the guest: its own display, the prefix made with the image, this checkout
# at the same path, and the shipped program.
log "Windows tests of build/win32-tests in the test guest (win32)"
job=$VORNEL_BUILD/guest-tests.sh
shipped="Z:${VORNEL_BUILD//\//\\}\\win32\\Vornel.exe"
cat > "$job" <<EOS
. "$VORNEL_ROOT/scripts/lib.sh"
start_xvfb
export VORNEL_EXE='$shipped' VORNEL_SETUP='${shipped%\\*}\\$setup'
use_wine_prefix "\$WINEPREFIX" win32 # the image's prefix, named by the guest's init
write_wine_env /tmp/wine.env
VORNEL_WINE_ENV=/tmp/wine.env ctest --test-dir "$VORNEL_BUILD/win32-tests" --output-on-failure
EOS
"$VORNEL_ROOT/scripts/guest.sh" run "$job" "$VORNEL_BUILD/win32" "$VORNEL_BUILD/win32-tests" ||
  status=1
exit $status
