# Windows test programs: i686, posix thread model (GoogleTest needs it).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VORNEL_MINGW_TRIPLE i686-w64-mingw32)
set(VORNEL_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
