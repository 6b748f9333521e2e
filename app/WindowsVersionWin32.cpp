// Fills the version record from the running system.
#include <windows.h>

#include <cstring>

#include "app/WindowsVersion.h"

CWindowsVersion::CWindowsVersion() {
    m_osvi.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    static_assert(sizeof(OSVERSIONINFOA) == sizeof(OsVersionRecord));
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    // The result is not examined: a failed query leaves an empty record,
    // which no release test accepts.
    if (GetVersionExA(&info)) std::memcpy(&m_osvi, &info, sizeof info);
}
