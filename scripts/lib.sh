# Shared helpers of scripts/run.sh and scripts/test.sh: packages, build trees,
# the Wine prefix and the virtual display. Sourced, never run.

VORNEL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VORNEL_BUILD=${VORNEL_BUILD:-$VORNEL_ROOT/build}

log() { printf '== %s\n' "$*" >&2; }
die() { printf 'error: %s\n' "$*" >&2; exit 1; }

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"
  elif command -v sudo >/dev/null 2>&1; then sudo "$@"
  else die "need root (or sudo) to run: $*"; fi
}

# Installs what the builds and the Wine bench need, only when something is missing.
ensure_packages() {
  local missing=0 cmd
  for cmd in cmake ninja g++ i686-w64-mingw32-g++-win32 i686-w64-mingw32-g++-posix \
             x86_64-w64-mingw32-g++-posix i686-w64-mingw32-windres Xvfb import xwd wine clang-format \
             clang clang++ scons 7z patch; do
    command -v "$cmd" >/dev/null 2>&1 || missing=1
  done
  # libFuzzer's runtime, for the fuzz tree.
  command -v clang++ >/dev/null 2>&1 &&
    [ -f "$(clang++ -print-resource-dir)/lib/linux/libclang_rt.fuzzer-$(uname -m).a" ] || missing=1
  [ -x /usr/lib/wine/wine64 ] || missing=1
  [ -f /usr/include/gtest/gtest.h ] || missing=1
  [ -f /usr/include/benchmark/benchmark.h ] || missing=1
  [ -d /usr/src/googletest ] || missing=1
  # Wine's own fonts (MS Sans Serif's stand-in, Marlett for the caption buttons).
  [ -f /usr/share/wine/fonts/marlett.ttf ] || missing=1
  # What scripts/toolchain.sh builds from: GCC's source as Debian's cross compiler is
  # built from it, and what configuring it and building makensis need.
  [ -f /usr/src/gcc-12/gcc-12.2.0-dfsg.tar.xz ] || missing=1
  [ -f /usr/include/mpc.h ] && [ -f /usr/include/zlib.h ] || missing=1
  [ "$missing" -eq 0 ] && return 0
  log "installing build and test packages"
  export DEBIAN_FRONTEND=noninteractive
  as_root dpkg --add-architecture i386
  # A mirror caught mid-sync serves an index of the wrong size for a while: try
  # again, then go on with what came (an index of a suite's updates at worst).
  local try
  for try in 1 2 3 4; do
    as_root apt-get update -qq && break
    [ "$try" -eq 4 ] && { log "package indexes incomplete: installing from what came"; break; }
    sleep $((try * 15))
  done
  local packages=(
    cmake ninja-build g++ libgtest-dev googletest libbenchmark-dev
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-i686-dev mingw-w64-x86-64-dev
    binutils-mingw-w64-i686 wine wine32:i386 wine64 xvfb xauth imagemagick x11-utils x11-apps
    fonts-dejavu-core fonts-wine clang-format clang libclang-rt-dev
    gcc-12-source libgmp-dev libmpfr-dev libmpc-dev scons zlib1g-dev p7zip-full patch)
  as_root apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null && return 0
  # An i386 library must be the very version of its amd64 twin. Where the mirror's
  # i386 index of the release's updates is missing or stale, or the machine's image
  # is older than the mirror, take both from the release's own suite: first bring
  # the machine up to it (a twin's family with it, systemd's say), then install.
  local release
  release=$(. /etc/os-release && printf '%s' "${VERSION_CODENAME:-}")
  [ -n "$release" ] || die "package installation failed"
  log "installing again from $release's own suite"
  as_root apt-get upgrade -y -qq -t "$release" \
    -o Dpkg::Options::=--force-confdef -o Dpkg::Options::=--force-confold >/dev/null ||
    die "package upgrade failed"
  as_root apt-get install -y -qq -t "$release" --no-install-recommends "${packages[@]}" \
    >/dev/null || die "package installation failed"
}

# Fails, naming them, when C++ sources differ from what clang-format makes of
# them with the project's .clang-format.
check_format() {
  local unformatted=() file
  while IFS= read -r -d '' file; do
    clang-format --dry-run -Werror "$file" >/dev/null 2>&1 || unformatted+=("${file#"$VORNEL_ROOT"/}")
  done < <(find "$VORNEL_ROOT"/{app,bench,engine,framework,res,tests,ui,wizard} \
             \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
  [ ${#unformatted[@]} -eq 0 ] && return 0
  printf 'not formatted (clang-format -i makes them so):\n' >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  return 1
}

# True when this host can execute i386 code (then Wine runs 32-bit, as the
# program's users run it). Some virtual machines cannot, and only a 64-bit
# Wine starts there.
host_runs_i386() {
  # An emulator registered for i386 binaries does not count: Wine does not
  # run under it.
  [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ] && grep -q enabled /proc/sys/fs/binfmt_misc/qemu-i386 && return 1
  [ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1
}

configure_tree() { # name toolchain-file-or-empty extra-args...
  local name=$1 toolchain=$2; shift 2
  local dir=$VORNEL_BUILD/$name args=(-G Ninja -DCMAKE_BUILD_TYPE=Release)
  [ -n "$toolchain" ] && args+=("-DCMAKE_TOOLCHAIN_FILE=$VORNEL_ROOT/cmake/$toolchain")
  # A tree made with another toolchain (an earlier layout) is made anew.
  if [ -n "$toolchain" ] && [ -f "$dir/CMakeCache.txt" ] &&
     ! grep -q "^CMAKE_TOOLCHAIN_FILE:.*/$toolchain\$" "$dir/CMakeCache.txt"; then
    rm -rf "$dir"
  fi
  # Run on an existing tree too, so that a changed option takes effect; it
  # costs a second or two when nothing changed.
  cmake -S "$VORNEL_ROOT" -B "$dir" "${args[@]}" "$@" >/dev/null || die "configure $name failed"
}

build_tree() { cmake --build "$VORNEL_BUILD/$1" -- -k 0 || die "build of $1 failed"; }

# The shipped program's tree, with the C++ runtime and NSIS built for the 80386
# (scripts/toolchain.sh builds them once and keeps them).
configure_shipped_tree() {
  local runtime nsis
  runtime=$("$VORNEL_ROOT/scripts/toolchain.sh" runtime) || die "the 80386 runtime could not be built"
  nsis=$("$VORNEL_ROOT/scripts/toolchain.sh" nsis) || die "NSIS could not be built"
  configure_tree win32 mingw-i686-win32.cmake -DVORNEL_BUILD_TESTS=OFF \
    -DVORNEL_RUNTIME_DIR="$runtime" -DVORNEL_NSIS_DIR="$nsis"
}

# True when the i686 test programs must run in the emulated PC of
# scripts/guest.sh: the host cannot execute i386 code, or VORNEL_GUEST=1 asks
# for it (to try the guest on a host that could do without).
needs_guest() {
  [ "${VORNEL_GUEST:-0}" = 1 ] || ! host_runs_i386
}

# The native unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
build_native_asan() {
  configure_tree native-asan "" -DVORNEL_SANITIZE=ON -DVORNEL_BUILD_BENCH=OFF &&
    build_tree native-asan
}

# The libFuzzer targets of tests/fuzz (clang), under the same sanitizers.
build_fuzz() {
  configure_tree fuzz "" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVORNEL_FUZZ=ON &&
    build_tree fuzz
}

# The trees: the native one, the same under the sanitizers, the fuzz targets,
# the shipped program, the i686 test programs, and where those cannot run on
# the host, the same programs built for x86-64 to run under the host's 64-bit
# Wine as well.
build_all() {
  configure_tree native "" && build_tree native
  build_native_asan
  build_fuzz
  configure_shipped_tree && build_tree win32
  # The installer and the zip (build/win32/Vornel-<version>-setup.exe and .zip).
  cmake --build "$VORNEL_BUILD/win32" --target package >/dev/null || die "packaging failed"
  configure_tree win32-tests mingw-i686-posix.cmake && build_tree win32-tests
  if needs_guest; then
    configure_tree win32-tests-x64 mingw-x86_64-posix.cmake && build_tree win32-tests-x64
  fi
}

# A virtual display on a free number, of 24 bits a pixel unless told; sets DISPLAY and
# XVFB_PID.
start_xvfb() { # [depth]
  local n depth=${1:-24}
  for n in $(seq 91 199); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || break
  done
  Xvfb :$n -screen 0 1024x768x"$depth" -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=:$n
  for _ in $(seq 1 50); do
    [ -e /tmp/.X11-unix/X$n ] && return 0
    sleep 0.1
  done
  die "Xvfb did not start on :$n"
}

# Exports WINEARCH and VORNEL_WINE for a prefix of that arch.
use_wine_arch() { # win32|win64
  if [ "$1" = win32 ]; then export WINEARCH=win32 VORNEL_WINE=wine
  else export WINEARCH=win64 VORNEL_WINE=/usr/lib/wine/wine64; fi
}

# Every Wine run of the scripts goes through here: exports the environment for
# the prefix in `dir` (WINEPREFIX, WINEARCH, VORNEL_WINE and the settings
# below) and makes the prefix when it does not exist yet.
use_wine_prefix() { # dir win32|win64
  # The language files are read in the ANSI code page 1252, which Wine picks
  # for this locale.
  export LANG=C.UTF-8 LC_ALL=C.UTF-8
  # No Mono or Gecko installer; and a program that crashes ends at once instead of
  # hanging in Wine's debugger, so that its test fails rather than times out.
  export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
  use_wine_arch "$2"
  [ -f "$WINEPREFIX/system.reg" ] && return 0
  # Wine makes the prefix's folder but not the folders above it (a run's scratch folder,
  # gone when the prefix is made again for a run by hand).
  mkdir -p "$(dirname "$WINEPREFIX")"
  "$VORNEL_WINE" wineboot -i >/dev/null 2>&1 || true
  # A 64-bit-only Wine leaves its own fonts out of a new prefix; without them
  # dialogs are laid out with a stand-in for MS Sans Serif and the title-bar
  # buttons lose their Marlett glyphs.
  if [ -d /usr/share/wine/fonts ] && [ -d "$WINEPREFIX/drive_c/windows/Fonts" ]; then
    cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  fi
  # Without a window manager Wine stalls whenever a window is hidden unless
  # it manages its windows itself.
  "$VORNEL_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
  [ -f "$WINEPREFIX/system.reg" ] || die "Wine prefix $WINEPREFIX was not created"
}

# A fresh Wine prefix in `dir`, as use_wine_prefix sets it up.
make_wine_prefix() { # dir win32|win64
  rm -rf "$1"
  use_wine_prefix "$1" "$2"
}

# Lets the CMake emulator wrapper (scripts/wine-exec.sh) find this prefix.
write_wine_env() { # file
  cat > "$1" <<EOS
export WINEPREFIX='$WINEPREFIX' WINEARCH='$WINEARCH' VORNEL_WINE='$VORNEL_WINE'
export DISPLAY='$DISPLAY' WINEDEBUG=-all WINEDLLOVERRIDES='$WINEDLLOVERRIDES' LANG=C.UTF-8 LC_ALL=C.UTF-8
export VORNEL_EXE='${VORNEL_EXE:-}' VORNEL_SETUP='${VORNEL_SETUP:-}'
EOS
}

# A scratch folder for the run in $work; when the script ends, the display and Wine stop
# and the folder goes, whatever the exit status, which stays the script's.
use_scratch_folder() { # name
  work=$(mktemp -d "/tmp/$1.XXXXXX")
  trap end_scratch_run EXIT
}
end_scratch_run() {
  local status=$?
  stop_wine_and_display
  rm -rf "$work"
  exit $status
}

stop_wine_and_display() {
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k >/dev/null 2>&1 || true; fi
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
  fi
  return 0
}
