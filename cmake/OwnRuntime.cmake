# The shipped build's own C runtime (app/runtime) and how a program links it: Vornel.exe, and
# the benchmark's floor program, which is built exactly as Vornel.exe is.
#
# With its own C runtime a program imports no C runtime DLL. The compiler driver's start files
# and default libraries would bring msvcrt.dll's: the program links its start-up itself, with
# the compiler's registration of the unwind tables (crtbegin.o first; crtend.o, which ends the
# tables, after every library with unwind data, vornel_portable named here so that it comes
# before) and the static C++ and compiler support libraries. Data is never imported, so no
# start-up code has to patch imported addresses.
#
# The runtime stays outside the link-time optimisation: the optimiser sees no caller of the
# entry point, which only the linker names, and would apply its own options to the functions
# below. Its memory and string functions are built without the compiler's built-ins and loop
# patterns, so that their loops stay loops instead of becoming calls of the very functions
# they implement.
set(VORNEL_crtbegin ${VORNEL_RUNTIME_DIR}/lib/crtbegin.o)
set(VORNEL_crtend ${VORNEL_RUNTIME_DIR}/lib/crtend.o)

# Links `target` with the own runtime; further arguments are system libraries it needs
# besides kernel32, user32, gdi32 and advapi32.
function(vornel_link_own_runtime target)
  set(dir ${CMAKE_SOURCE_DIR}/app/runtime)
  set(runtime ${dir}/Start.cpp ${dir}/Memory.cpp ${dir}/Strings.cpp)
  target_sources(${target} PRIVATE ${runtime})
  set_source_files_properties(${runtime} TARGET_DIRECTORY ${target}
    PROPERTIES COMPILE_OPTIONS -fno-lto)
  set_source_files_properties(${dir}/Memory.cpp ${dir}/Strings.cpp TARGET_DIRECTORY ${target}
    PROPERTIES COMPILE_OPTIONS
      "-fno-lto;-ffreestanding;-fno-builtin;-fno-tree-loop-distribute-patterns")
  target_link_options(${target} PRIVATE -nostartfiles -nodefaultlibs ${VORNEL_crtbegin}
    -Wl,--disable-auto-import)
  target_link_libraries(${target} PRIVATE vornel_portable
    -Wl,--start-group ${VORNEL_RUNTIME_DIR}/lib/libstdc++.a ${VORNEL_RUNTIME_DIR}/lib/libgcc.a
      -Wl,--end-group
    ${ARGN} advapi32 gdi32 user32 kernel32 ${VORNEL_crtend})
endfunction()
