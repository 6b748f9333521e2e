// Fills the version record from the running system.
#include <windows.h>

#include <cstring>

#include "app/WindowsVersion.h"

CWindowsVersion::CWindowsVersion() {
    static_assert(sizeof(OSVERSIONINFOA) == sizeof(OsVersionRecord));
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    m_osvi.dwOSVersionInfoSize = sizeof info;
    // The result is not examined: a failed query leaves an empty record,
    // which no release test accepts.
    if (!GetVersionExA(&info)) return;
    m_osvi.dwMajorVersion = info.dwMajorVersion;
    m_osvi.dwMinorVersion = info.dwMinorVersion;
    m_osvi.dwBuildNumber = info.dwBuildNumber;
    m_osvi.dwPlatformId = info.dwPlatformId;
    std::memcpy(m_osvi.szCSDVersion, info.szCSDVersion, sizeof m_osvi.szCSDVersion);
}
