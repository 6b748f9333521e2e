#!/usr/bin/env bash
# The pieces of the toolchain that Debian ships built for a newer processor than
# Vornel's users have, built again for the 80386 and kept in a cache outside the
# checkout. Prints the folder that holds the result.
#
#   scripts/toolchain.sh runtime   the C++ runtime the shipped program links
#                                  (libgcc, libgcc_eh, libstdc++, libsupc++, the
#                                  compiler's start and end files, the C++ headers)
#   scripts/toolchain.sh nsis      NSIS: makensis for this host, and the installer's
#                                  stubs and plug-ins for Windows
#
# Debian's i686 MinGW compiler targets the Pentium Pro, and so do the libraries
# built with it: its libstdc++ and unwinder, and the NSIS stubs and plug-ins of
# its nsis package, use conditional moves, which no Pentium, K6 or 486 has. The
# compiler itself is kept (it emits what -march allows); what it links and what
# the installer carries is built here from the sources Debian builds them from:
# the GCC tarball of the gcc-12-source package and NSIS 3.08's release
# (third_party/). Each result lives in ${VORNEL_CACHE:-/var/cache/vornel}, in a
# folder named after its source's version and a hash of this script, so that a
# change here builds it again and an unchanged one is reused.
set -euo pipefail
. "$(dirname "$0")/lib.sh"

# The processor everything shipped is built for, and the tuning within it.
TARGET_CPU_FLAGS="-march=i386 -mtune=generic"
TRIPLE=i686-w64-mingw32

cache_root() {
  local dir=${VORNEL_CACHE:-/var/cache/vornel}
  if ! mkdir -p "$dir" 2>/dev/null || [ ! -w "$dir" ]; then
    dir=${XDG_CACHE_HOME:-$HOME/.cache}/vornel
    mkdir -p "$dir"
  fi
  echo "$dir"
}

# A hash of what a result is made by: its builder, the flags, and the words given.
recipe_hash() { # builder [word...]
  { declare -f "$1"; echo "$TARGET_CPU_FLAGS"; shift; echo "$@"; } | sha256sum | cut -c1-12
}

# Builds into a scratch folder beside the result and moves it in place only when
# complete, so that an interrupted build is never taken for a finished one.
build_cached() { # name builder
  local name=$1 builder=$2 root out scratch
  root=$(cache_root)
  out=$root/$name
  if [ ! -f "$out/.complete" ]; then
    scratch=$(mktemp -d "$root/.build.XXXXXX")
    log "building $name (once; kept in $root)"
    # Run untested: bash ignores errexit inside a command whose status is tested.
    local status
    set +e
    ( set -e; cd "$scratch"; "$builder" "$scratch" "$scratch/result" ) >"$scratch/build.log" 2>&1
    status=$?
    set -e
    if [ "$status" -ne 0 ]; then
      tail -n 40 "$scratch/build.log" >&2
      rm -rf "$scratch"
      die "building $name failed"
    fi
    touch "$scratch/result/.complete"
    rm -rf "$out"
    mv "$scratch/result" "$out"
    rm -rf "$scratch"
  fi
  echo "$out"
}

# --- the C++ runtime ----------------------------------------------------------

gcc_source_version() { dpkg-query -W -f='${Version}' gcc-12-source; }

# GCC's target libraries, configured as Debian configures its win32 cross
# compiler but for the 80386 and for what the program is: one thread, static,
# one string ABI. No compiler is built: Debian's compiles the libraries, and of
# the compiler's build folder only the generated headers libgcc includes are
# made (the target's description, its modes and constants).
build_runtime() { # scratch out
  local scratch=$1 out=$2 src build jobs
  jobs=$(nproc)
  tar -xf /usr/src/gcc-12/gcc-12.2.0-dfsg.tar.xz -C "$scratch" \
    --exclude='gcc-12.2.0/gcc/testsuite' --exclude='gcc-12.2.0/libgo' --exclude='gcc-12.2.0/libphobos' \
    --exclude='gcc-12.2.0/libgfortran' --exclude='gcc-12.2.0/libsanitizer' \
    --exclude='gcc-12.2.0/gcc/ada' --exclude='gcc-12.2.0/gnattools' --exclude='gcc-12.2.0/libada'
  src=$scratch/gcc-12.2.0
  build=$scratch/build
  mkdir -p "$build" "$scratch/bin"
  # The libraries' configure takes the thread model from what the compiler says
  # of itself (-v), not from --enable-threads: Debian's says win32. The program
  # runs one thread, and the win32 model's mutexes and thread-local storage
  # would bring CreateSemaphoreW (a stub that fails on Windows 95), TlsAlloc and
  # InterlockedCompareExchange (no instruction of the 80386) with them; so the
  # libraries are built through a compiler that says "single" and is otherwise
  # Debian's.
  local driver
  for driver in gcc g++; do
    cat > "$scratch/bin/$driver" <<EOS
#!/usr/bin/env bash
set -o pipefail
case " \$* " in
  *" -v "*) exec 3>&1; $TRIPLE-$driver-win32 "\$@" 2>&1 1>&3 | sed 's/^Thread model: .*/Thread model: single/' >&2 ;;
  *) exec $TRIPLE-$driver-win32 "\$@" ;;
esac
EOS
    chmod +x "$scratch/bin/$driver"
  done
  local target_tools=(
    CC_FOR_TARGET="$scratch/bin/gcc" GCC_FOR_TARGET="$scratch/bin/gcc"
    "CXX_FOR_TARGET=$scratch/bin/g++ -nostdinc++" "RAW_CXX_FOR_TARGET=$scratch/bin/gcc -nostdinc++"
    AR_FOR_TARGET=$TRIPLE-ar RANLIB_FOR_TARGET=$TRIPLE-ranlib NM_FOR_TARGET=$TRIPLE-nm
    AS_FOR_TARGET=$TRIPLE-as LD_FOR_TARGET=$TRIPLE-ld DLLTOOL_FOR_TARGET=$TRIPLE-dlltool
    OBJDUMP_FOR_TARGET=$TRIPLE-objdump STRIP_FOR_TARGET=$TRIPLE-strip
    WINDRES_FOR_TARGET=$TRIPLE-windres)
  cd "$build"
  # Debian's options that shape the libraries (--disable-sjlj-exceptions,
  # --with-dwarf2, --enable-libstdcxx-time, --enable-fully-dynamic-string), and
  # ours: one thread (the program starts none, and the win32 model's mutexes
  # need CreateSemaphoreW, a stub that fails on Windows 95), no shared library,
  # and only the C++11 string ABI (the old one's instantiations bring
  # std::random_device and its processor probe with them).
  "$src/configure" --build=x86_64-linux-gnu --host=x86_64-linux-gnu --target=$TRIPLE \
    --prefix="$scratch/install" --disable-multilib --enable-languages=c,c++ \
    --disable-bootstrap --disable-nls --with-sysroot=/ \
    --with-native-system-header-dir=/usr/$TRIPLE/include \
    --disable-sjlj-exceptions --with-dwarf2 --enable-libstdcxx-time=yes \
    --enable-fully-dynamic-string --enable-threads=single --disable-shared --enable-static \
    --disable-libstdcxx-dual-abi --disable-libstdcxx-pch --disable-libstdcxx-filesystem-ts \
    --disable-libgomp --disable-libatomic --disable-libssp --disable-libquadmath \
    --disable-libvtv --disable-libitm \
    CFLAGS_FOR_TARGET="-O2 -g $TARGET_CPU_FLAGS" CXXFLAGS_FOR_TARGET="-O2 -g $TARGET_CPU_FLAGS"
  make configure-gcc
  make -j"$jobs" all-build-libiberty
  mkdir -p gcc/include
  # xgcc and specs are the compiler, which is not built; the rule that writes
  # libgcc's settings names them but does not use them.
  make -C gcc -j"$jobs" -o xgcc -o specs libgcc.mvars tconfig.h tm.h tm_p.h options.h \
    insn-constants.h insn-modes.h insn-flags.h
  make -j"$jobs" -o all-gcc -o maybe-all-gcc "${target_tools[@]}" \
    all-target-libgcc all-target-libstdc++-v3
  make -C $TRIPLE/libgcc install
  make -C $TRIPLE/libstdc++-v3 install

  # One flat layout for the build to name: lib/ and include/c++/.
  local gcclib
  gcclib=$(echo "$scratch"/install/lib/gcc/$TRIPLE/*)
  mkdir -p "$out/lib" "$out/include"
  # Without a shared libgcc the unwinder is part of libgcc.a: there is no libgcc_eh.a.
  cp "$gcclib"/{libgcc.a,crtbegin.o,crtend.o} "$out/lib/"
  cp "$scratch"/install/$TRIPLE/lib/{libstdc++.a,libsupc++.a} "$out/lib/"
  cp -r "$scratch"/install/$TRIPLE/include/c++ "$out/include/"
  cp "$src/COPYING.RUNTIME" "$src/COPYING3" "$out/"
  printf 'gcc-12-source %s\n%s\n' "$(gcc_source_version)" "$TARGET_CPU_FLAGS" > "$out/BUILT-FROM"
}

# --- NSIS ---------------------------------------------------------------------

NSIS_TARBALL=$VORNEL_ROOT/third_party/nsis-3.08-src.tar.xz
NSIS_PATCHES=("$VORNEL_ROOT"/third_party/nsis-3.08-*.patch)

build_nsis() { # scratch out
  local scratch=$1 out=$2 runtime=$RUNTIME src
  src=$scratch/nsis
  mkdir -p "$src" "$scratch/bin"
  tar -xf "$NSIS_TARBALL" -C "$src"
  local patch
  for patch in "${NSIS_PATCHES[@]}"; do
    patch -d "$src" -p1 --quiet < "$patch"
  done
  # NSIS's build names the cross tools by a prefix; behind it, Debian's win32
  # compiler for the 80386, linking the runtime above before its own libgcc,
  # and Debian's binutils. makensis itself is built for this host.
  local tool
  cat > "$scratch/bin/$TRIPLE-gcc" <<EOS
#!/bin/sh
exec $TRIPLE-gcc-win32 $TARGET_CPU_FLAGS -L$runtime/lib "\$@"
EOS
  cat > "$scratch/bin/$TRIPLE-g++" <<EOS
#!/bin/sh
exec $TRIPLE-g++-win32 $TARGET_CPU_FLAGS -L$runtime/lib "\$@"
EOS
  chmod +x "$scratch/bin/$TRIPLE-gcc" "$scratch/bin/$TRIPLE-g++"
  for tool in ar as ld nm objcopy objdump ranlib strip windres dlltool; do
    ln -s "$(command -v $TRIPLE-$tool)" "$scratch/bin/$TRIPLE-$tool"
  done
  cd "$src"
  # The stubs and plug-ins of both character sets are built (the installer is
  # an ANSI one, for Windows 95/98/Me), and the user interfaces the Modern UI
  # takes its dialogs from; the other utilities and the documentation are not
  # needed to make an installer.
  scons -j"$(nproc)" \
    PREFIX="$out" PREFIX_BIN="$out/bin" NSIS_CONFIG_CONST_DATA_PATH=no \
    SKIPUTILS="Library/RegTool,MakeLangId,Makensisw,NSIS Menu,SubStart,VPatch/Source/GenPat,zip2exe" \
    DOCTYPES= SKIPTESTS=all \
    XGCC_W32_PREFIX="$scratch/bin/$TRIPLE-" \
    VERSION=3.08 VER_MAJOR=3 VER_MINOR=0 VER_REVISION=8 VER_BUILD=0 \
    install
  # makensis looks for its stubs, plug-ins and headers in NSISDIR, else where the
  # environment's $_ says it was started from, which another program's start
  # (CPack's) leaves pointing elsewhere: a wrapper names the folder.
  mv "$out/bin/makensis" "$out/bin/makensis.bin"
  cat > "$out/bin/makensis" <<'EOS'
#!/bin/sh
here=$(cd "$(dirname "$0")" && pwd)
NSISDIR=$(dirname "$here") exec "$here/makensis.bin" "$@"
EOS
  chmod +x "$out/bin/makensis"
  cp "$src/COPYING" "$out/"
  printf 'nsis %s\n%s\n' "$(basename "$NSIS_TARBALL")" "$TARGET_CPU_FLAGS" > "$out/BUILT-FROM"
}

runtime_dir() {
  build_cached "runtime-gcc-$(gcc_source_version)-$(recipe_hash build_runtime)" build_runtime
}
nsis_dir() {
  RUNTIME=$(runtime_dir)
  build_cached "nsis-3.08-$(recipe_hash build_nsis "$RUNTIME" "$(cat "${NSIS_PATCHES[@]}")")" build_nsis
}

case ${1:-} in
  runtime) runtime_dir ;;
  nsis) nsis_dir ;;
  *) die "usage: scripts/toolchain.sh runtime|nsis" ;;
esac
