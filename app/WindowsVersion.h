// The operating system's version record and the six release tests that
// decide which Windows family the program is running on.
#pragma once

#include <cstdint>
#include <optional>

#include "engine/PlatformFamily.h"

// Same layout as the platform's OSVERSIONINFOA (148 bytes).
struct OsVersionRecord {
    std::uint32_t dwOSVersionInfoSize = 0;
    std::uint32_t dwMajorVersion = 0;
    std::uint32_t dwMinorVersion = 0;
    std::uint32_t dwBuildNumber = 0;
    std::uint32_t dwPlatformId = 0;
    char szCSDVersion[128] = {};
};
static_assert(sizeof(OsVersionRecord) == 148);

inline constexpr std::uint32_t kPlatformWindows = 1;  // VER_PLATFORM_WIN32_WINDOWS
inline constexpr std::uint32_t kPlatformNT = 2;       // VER_PLATFORM_WIN32_NT

class CWindowsVersion {
public:
    // Fills the record from the running system (Windows builds only); the
    // query's result is not examined, so a failed query leaves it empty.
    CWindowsVersion();
    explicit CWindowsVersion(const OsVersionRecord& record) : m_osvi(record) {}
    virtual ~CWindowsVersion() = default;

    bool IsWin95() const;
    bool IsWin98() const;
    bool IsWinMe() const;
    bool IsWin2000() const;
    bool IsWinXP() const;
    bool IsWinNT4() const;

private:
    OsVersionRecord m_osvi;
};

// The start-up decision: the first release test that holds decides the
// release and with it the family; none holding means the program must refuse to run.
namespace platform {
std::optional<WindowsRelease> DecideRelease(const CWindowsVersion& version);
}  // namespace platform
