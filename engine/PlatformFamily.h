// The two Windows families whose TCP/IP stacks the program tunes, and their releases.
#pragma once

#include <cstdint>

enum PlatformFamily : std::int32_t {
    Win9x = 0,  // Windows 95, 98, Me: text values under VxD\MSTCP
    WinNT = 1,  // Windows NT 4.0, 2000, XP: numbers under Tcpip\Parameters
};

// The releases, some of whose stacks read a setting from a place of their own.
enum class WindowsRelease : std::uint8_t { Win95, Win98, WinMe, WinNT4, Win2000, WinXP };

namespace platform {
constexpr PlatformFamily FamilyOf(WindowsRelease release) {
    return release <= WindowsRelease::WinMe ? Win9x : WinNT;
}
}  // namespace platform
