// The two Windows families whose TCP/IP stacks the program tunes.
#pragma once

#include <cstdint>

enum PlatformFamily : std::int32_t {
    Win9x = 0,  // Windows 95, 98, Me: text values under VxD\MSTCP
    WinNT = 1,  // Windows NT 4.0, 2000, XP: numbers under Tcpip\Parameters
};
