# The shipped tree is built for the 80386, the least processor Windows 95 runs on, and
# links a C++ runtime built the same way: Debian's cross compiler targets the Pentium Pro
# by default, and its prebuilt libstdc++ and unwinder use conditional moves, which no
# Pentium, K6 or 486 has. scripts/toolchain.sh builds that runtime from the GCC source
# Debian's compiler is built from and names its folder (VORNEL_RUNTIME_DIR); it builds
# NSIS for the installer the same way (VORNEL_NSIS_DIR, packaging/Packaging.cmake).
#
# Every object of the tree gets the processor (the link too: the link-time optimiser
# generates the code), and C++ code the runtime's headers instead of the compiler's,
# whose configuration (threads, string ABI) differs. The runtime is linked by full path
# (cmake/OwnRuntime.cmake), so that no library of the compiler's own can stand in for it.
set(VORNEL_RUNTIME_DIR "" CACHE PATH
  "The C++ runtime built for the 80386 (the folder scripts/toolchain.sh runtime prints)")
set(VORNEL_NSIS_DIR "" CACHE PATH
  "NSIS with its stubs and plug-ins built for the 80386 (the folder scripts/toolchain.sh nsis prints)")
if(NOT EXISTS "${VORNEL_RUNTIME_DIR}/lib/libstdc++.a" OR NOT EXISTS "${VORNEL_NSIS_DIR}/bin/makensis")
  message(FATAL_ERROR "The shipped program links a C++ runtime, and its installer carries "
    "NSIS's stubs and plug-ins, built for the 80386: configure with "
    "-DVORNEL_RUNTIME_DIR=$(scripts/toolchain.sh runtime) -DVORNEL_NSIS_DIR=$(scripts/toolchain.sh nsis) "
    "(scripts/test.sh and scripts/run.sh do)")
endif()
file(GLOB VORNEL_RUNTIME_CXX_INCLUDE LIST_DIRECTORIES true "${VORNEL_RUNTIME_DIR}/include/c++/*")
set(VORNEL_CPU_FLAGS -march=i386 -mtune=generic)
add_compile_options(${VORNEL_CPU_FLAGS}
  "$<$<COMPILE_LANGUAGE:CXX>:-nostdinc++;-isystem${VORNEL_RUNTIME_CXX_INCLUDE};-isystem${VORNEL_RUNTIME_CXX_INCLUDE}/i686-w64-mingw32>")
add_link_options(${VORNEL_CPU_FLAGS})
