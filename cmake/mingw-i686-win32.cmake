# The shipped program: i686, win32 thread model (its runtime loads on Windows 95 and NT 4.0).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VORNEL_MINGW_TRIPLE i686-w64-mingw32)
set(VORNEL_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
