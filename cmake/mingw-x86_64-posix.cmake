# Windows test programs for hosts that cannot execute i386 code (Wine runs only
# as a 64-bit process there): the same sources, built for x86-64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VORNEL_MINGW_TRIPLE x86_64-w64-mingw32)
set(VORNEL_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
