// The start-up decision over version records of every release the program
// knows, and of those it must refuse.
#include <cstring>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

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
    std::optional<WindowsRelease> release;
};

class FamilyDecision : public ::testing::TestWithParam<Release> {};

TEST_P(FamilyDecision, GivesTheReleaseAndItsFamilyOrRefuses) {
    const Release& r = GetParam();
    const CWindowsVersion version = Version(r.platform, r.major, r.minor, r.build);
    EXPECT_EQ(platform::DecideRelease(version), r.release) << r.name;
}

INSTANTIATE_TEST_SUITE_P(
    Releases, FamilyDecision,
    ::testing::Values(Release{"Windows 95", 1, 4, 0, 950, WindowsRelease::Win95},
                      Release{"Windows 95 OSR2 (build never examined)", 1, 4, 0, 0x040003B6,
                              WindowsRelease::Win95},
                      Release{"Windows 98", 1, 4, 10, 1998, WindowsRelease::Win98},
                      Release{"Windows Me", 1, 4, 90, 3000, WindowsRelease::WinMe},
                      Release{"platform 1 with an odd major", 1, 7, 10, 0, WindowsRelease::Win98},
                      Release{"pre-release 4.3 on platform 1", 1, 4, 3, 0, std::nullopt},
                      Release{"Windows NT 4.0", 2, 4, 0, 1381, WindowsRelease::WinNT4},
                      Release{"NT 4 with another minor", 2, 4, 7, 0, WindowsRelease::WinNT4},
                      Release{"Windows 2000", 2, 5, 0, 2195, WindowsRelease::Win2000},
                      Release{"Windows XP", 2, 5, 1, 2600, WindowsRelease::WinXP},
                      Release{"Windows Server 2003", 2, 5, 2, 3790, WindowsRelease::WinXP},
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

reg::Value Sz(std::string_view text, bool terminated = true) {
    reg::Value value{reg::kSz, std::vector<std::uint8_t>(text.begin(), text.end())};
    if (terminated) value.data.push_back(0);
    return value;
}

TEST(ProductKeyText, IsCutAtTheFirstNulAndReadWholeWithoutOne) {
    EXPECT_EQ(product::ProductText(reg::Value{reg::kSz, {'C', ':', '\\', 'V', 0, 'x'}}), "C:\\V");
    EXPECT_EQ(product::ProductText(Sz("Eng", false)), "Eng");
    EXPECT_EQ(product::ProductText(reg::Value{reg::kExpandSz, {'E', 0}}), "E");
    EXPECT_EQ(product::ProductText(reg::Value{reg::kDword, {'E', 0, 0, 0}}), std::nullopt);
    EXPECT_EQ(product::ProductText(reg::Value{reg::kBinary, {'E', 0}}), std::nullopt);
}

// A folder that cannot be used counts as missing: the program's own folder stands in.
TEST(ProductKeyText, AppPathMustBeAnAbsoluteFolderThatFitsTheBuffer) {
    EXPECT_EQ(product::UsableAppPath(Sz("C:\\Program Files\\Vornel")), "C:\\Program Files\\Vornel");
    EXPECT_EQ(product::UsableAppPath(Sz("d:/Tools")), "d:/Tools");
    EXPECT_EQ(product::UsableAppPath(Sz("\\\\server\\share\\Vornel")), "\\\\server\\share\\Vornel");
    const std::string longest = "C:\\" + std::string(256, 'd');  // 259 characters
    EXPECT_EQ(product::UsableAppPath(Sz(longest, false)), longest);
    for (const std::string& unusable :
         {std::string(), std::string("Vornel"), std::string("..\\Vornel"), std::string("C:"),
          std::string("C:Vornel"), std::string("\\Vornel"), std::string("\\\\"),
          "C:\\" + std::string(257, 'd')}) {
        EXPECT_EQ(product::UsableAppPath(Sz(unusable)), std::nullopt) << unusable;
    }
    EXPECT_EQ(product::UsableAppPath(reg::Value{reg::kDword, {'C', ':', '\\', 0}}), std::nullopt);
}

TEST(ProductKeyText, LanguageMustNameAFileOfTheLangFolder) {
    EXPECT_EQ(product::UsableLanguage(Sz("Deutsch")), "Deutsch");
    EXPECT_EQ(product::UsableLanguage(Sz("Portugu\xEAs (Brasil)")), "Portugu\xEAs (Brasil)");
    EXPECT_EQ(product::UsableLanguage(Sz("%s%n")), "%s%n");  // data, never a format
    EXPECT_EQ(product::UsableLanguage(Sz(std::string(259, 'L'), false)), std::string(259, 'L'));
    for (const std::string& unusable :
         {std::string(), std::string("..\\..\\Deutsch"), std::string("..\\Evil"),
          std::string("../Evil"), std::string("Lang/Deutsch"), std::string("C:Deutsch"),
          std::string("Deutsch:stream"), std::string("a..b"), std::string(".."),
          std::string(260, 'L')}) {
        EXPECT_EQ(product::UsableLanguage(Sz(unusable)), std::nullopt) << unusable;
    }
}

TEST(ProductKeyText, FolderOfTheProgramFile) {
    EXPECT_EQ(product::FolderOfPath("C:\\Program Files\\Vornel\\Vornel.exe"),
              "C:\\Program Files\\Vornel");
    EXPECT_EQ(product::FolderOfPath("Z:/tmp/Vornel.exe"), "Z:/tmp");
    EXPECT_EQ(product::FolderOfPath("Vornel.exe"), "");
}

}  // namespace
