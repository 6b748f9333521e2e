// Release tests over the version record; no test looks at the build number.
#include "app/WindowsVersion.h"

bool CWindowsVersion::IsWin95() const {
    return m_osvi.dwPlatformId == kPlatformWindows && m_osvi.dwMinorVersion == 0;
}

bool CWindowsVersion::IsWin98() const {
    return m_osvi.dwPlatformId == kPlatformWindows && m_osvi.dwMinorVersion == 10;
}

bool CWindowsVersion::IsWinMe() const {
    return m_osvi.dwPlatformId == kPlatformWindows && m_osvi.dwMinorVersion == 90;
}

bool CWindowsVersion::IsWin2000() const {
    return m_osvi.dwPlatformId == kPlatformNT && m_osvi.dwMajorVersion == 5 &&
           m_osvi.dwMinorVersion == 0;
}

bool CWindowsVersion::IsWinXP() const {
    return m_osvi.dwPlatformId == kPlatformNT && m_osvi.dwMajorVersion == 5 &&
           m_osvi.dwMinorVersion >= 1;
}

bool CWindowsVersion::IsWinNT4() const {
    return m_osvi.dwPlatformId == kPlatformNT && m_osvi.dwMajorVersion == 4;
}

std::optional<WindowsRelease> platform::DecideRelease(const CWindowsVersion& version) {
    using Test = bool (CWindowsVersion::*)() const;
    struct Rule {
        Test test;
        WindowsRelease release;
    };
    static constexpr Rule kRules[] = {
        {&CWindowsVersion::IsWin95, WindowsRelease::Win95},
        {&CWindowsVersion::IsWin98, WindowsRelease::Win98},
        {&CWindowsVersion::IsWinMe, WindowsRelease::WinMe},
        {&CWindowsVersion::IsWin2000, WindowsRelease::Win2000},
        {&CWindowsVersion::IsWinXP, WindowsRelease::WinXP},
        {&CWindowsVersion::IsWinNT4, WindowsRelease::WinNT4},
    };
    for (const Rule& rule : kRules) {
        if ((version.*rule.test)()) return rule.release;
    }
    return std::nullopt;
}
