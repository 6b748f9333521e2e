// The start-up decision over version records of every release the program
// knows, and of those it must refuse.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "app/ProductKey.h"
#include "app/WindowsVersion.h"

namespace {

CWindowsVersion Version(std::uint32_t platform, std::uint32_t major, std::uint32_t minor,
                        std::uint32_t build = 0) {
    OsVersionRecord r;
    r.dwOSVersionInfoSize = sizeof r;
    r.dwPlatformId = platform;
    r.dwMajorVersion = major;
    r.dwMinorVersion = minor;
    r.dwBuildNumber = build;
    return CWindowsVersion(r);
}

struct Release {
    const char* name;
    std::uint32_t platform, major, minor, build;
    std::optional<PlatformFamily> family;
};

class FamilyDecision : public ::testing::TestWithParam<Release> {};

TEST_P(FamilyDecision, GivesTheFamilyOrRefuses) {
    const Release& r = GetParam();
    EXPECT_EQ(DecidePlatformFamily(Version(r.platform, r.major, r.minor, r.build)), r.family)
        << r.name;
}

INSTANTIATE_TEST_SUITE_P(
    Releases, FamilyDecision,
    ::testing::Values(
        Release{"Windows 95", 1, 4, 0, 950, Win9x},
        Release{"Windows 95 OSR2 (build never examined)", 1, 4, 0, 0x040003B6, Win9x},
        Release{"Windows 98", 1, 4, 10, 1998, Win9x},
        Release{"Windows Me", 1, 4, 90, 3000, Win9x},
        Release{"platform 1 with an odd major", 1, 7, 10, 0, Win9x},
        Release{"pre-release 4.3 on platform 1", 1, 4, 3, 0, std::nullopt},
        Release{"Windows NT 4.0", 2, 4, 0, 1381, WinNT},
        Release{"NT 4 with another minor", 2, 4, 7, 0, WinNT},
        Release{"Windows 2000", 2, 5, 0, 2195, WinNT},
        Release{"Windows XP", 2, 5, 1, 2600, WinNT},
        Release{"Windows Server 2003", 2, 5, 2, 3790, WinNT},
        Release{"NT 3.51", 2, 3, 51, 1057, std::nullopt},
        Release{"Vista", 2, 6, 0, 6000, std::nullopt},
        Release{"Windows 7", 2, 6, 1, 7601, std::nullopt},
        Release{"Win32s", 0, 3, 10, 0, std::nullopt},
        Release{"a failed query: empty record", 0, 0, 0, 0, std::nullopt}));

TEST(ReleaseTests, EachAnswersOnlyForItsOwnRelease) {
    const CWindowsVersion xp = Version(2, 5, 1);
    EXPECT_TRUE(xp.IsWinXP());
    EXPECT_FALSE(xp.IsWin2000());
    EXPECT_FALSE(xp.IsWinNT4());
    EXPECT_FALSE(xp.IsWin95());  // minor 1 on NT is not a 9x release
    const CWindowsVersion nt5 = Version(2, 5, 0);
    EXPECT_TRUE(nt5.IsWin2000());
    EXPECT_FALSE(nt5.IsWinXP());
    // Platform 2 with minor 0 must not pass the 95 test.
    EXPECT_FALSE(nt5.IsWin95());
}

TEST(ProductKeyText, IsCutAtTheFirstNulOrAtTheBuffer) {
    const std::uint8_t terminated[] = {'C', ':', '\\', 'V', 0, 'x'};
    EXPECT_EQ(TextFromRegistryData(terminated, sizeof terminated, 260), "C:\\V");

    // Data written without a terminator must not run past what was read.
    const std::uint8_t bare[] = {'E', 'n', 'g'};
    EXPECT_EQ(TextFromRegistryData(bare, sizeof bare, 260), "Eng");

    // A value that fills the whole buffer keeps room for the terminator.
    std::uint8_t full[260];
    std::memset(full, 'a', sizeof full);
    EXPECT_EQ(TextFromRegistryData(full, sizeof full, 260).size(), 259u);

    EXPECT_EQ(TextFromRegistryData(nullptr, 0, 260), "");
    EXPECT_EQ(TextFromRegistryData(bare, 0, 260), "");
}

TEST(ProductKeyText, FolderOfTheProgramFile) {
    EXPECT_EQ(FolderOfPath("C:\\Program Files\\Vornel\\Vornel.exe"), "C:\\Program Files\\Vornel");
    EXPECT_EQ(FolderOfPath("Z:/tmp/Vornel.exe"), "Z:/tmp");
    EXPECT_EQ(FolderOfPath("Vornel.exe"), "");
}

}  // namespace
