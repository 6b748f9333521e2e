// Checks the shipped program file itself: a PE32 i386 GUI program for
// subsystem 4.0 that imports only system libraries, and nothing that Windows
// 95 or NT 4.0 lacks (Wine would hide that: it loads such a file anyway).
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

class PeImage {
public:
    explicit PeImage(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    std::uint32_t U32(std::size_t at) const {
        if (at + 4 > bytes_.size()) throw std::out_of_range("read past the end");
        std::uint32_t v;
        std::memcpy(&v, &bytes_[at], 4);
        return v;
    }
    std::uint16_t U16(std::size_t at) const {
        if (at + 2 > bytes_.size()) throw std::out_of_range("read past the end");
        return static_cast<std::uint16_t>(bytes_[at] | (bytes_[at + 1] << 8));
    }
    std::string CString(std::size_t at) const {
        std::string s;
        while (at < bytes_.size() && bytes_[at] != 0) s += static_cast<char>(bytes_[at++]);
        return s;
    }

    std::size_t Nt() const { return U32(0x3c); }
    std::size_t Optional() const { return Nt() + 24; }

    // File offset of a relative virtual address, through the section table.
    std::size_t Offset(std::uint32_t rva) const {
        const std::size_t sections = Optional() + U16(Nt() + 20);
        for (unsigned i = 0; i < U16(Nt() + 6); ++i) {
            const std::size_t s = sections + i * 40;
            const std::uint32_t va = U32(s + 12), size = std::max(U32(s + 8), U32(s + 16));
            if (rva >= va && rva < va + size) return rva - va + U32(s + 20);
        }
        throw std::out_of_range("address outside every section");
    }

    // Imported functions by library (lower-case library names).
    std::vector<std::pair<std::string, std::string>> Imports() const {
        std::vector<std::pair<std::string, std::string>> out;
        const std::uint32_t dir = U32(Optional() + 96 + 8);  // data directory 1
        if (dir == 0) return out;
        for (std::size_t d = Offset(dir);; d += 20) {
            const std::uint32_t lookup = U32(d) ? U32(d) : U32(d + 16);
            const std::uint32_t name = U32(d + 12);
            if (name == 0) break;
            const std::string dll = Lower(CString(Offset(name)));
            for (std::size_t t = Offset(lookup); U32(t) != 0; t += 4) {
                const std::uint32_t entry = U32(t);
                out.emplace_back(dll,
                                 (entry & 0x80000000u) ? "#ordinal" : CString(Offset(entry) + 2));
            }
        }
        return out;
    }

private:
    std::vector<std::uint8_t> bytes_;
};

std::filesystem::path ShippedExePath() {
    return std::filesystem::path(VORNEL_BINARY_DIR) / ".." / "win32" / "Vornel.exe";
}

class ShippedExe : public ::testing::Test {
protected:
    void SetUp() override {
        const auto path = ShippedExePath();
        if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " is not built in this tree";
        std::ifstream in(path, std::ios::binary);
        image_ = std::make_unique<PeImage>(
            std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {}));
    }
    std::unique_ptr<PeImage> image_;
};

TEST_F(ShippedExe, IsAnI386GuiProgramForSubsystemFour) {
    const PeImage& pe = *image_;
    ASSERT_EQ(pe.U16(0), 0x5a4d);              // MZ
    ASSERT_EQ(pe.U32(pe.Nt()), 0x00004550u);   // PE\0\0
    EXPECT_EQ(pe.U16(pe.Nt() + 4), 0x014c);    // i386
    EXPECT_EQ(pe.U16(pe.Optional()), 0x010b);  // PE32, not PE32+
    EXPECT_EQ(pe.U16(pe.Optional() + 68), 2);  // Windows GUI subsystem
    EXPECT_EQ(pe.U16(pe.Optional() + 48), 4);  // subsystem version 4.0
    EXPECT_EQ(pe.U16(pe.Optional() + 50), 0);
}

TEST_F(ShippedExe, ImportsOnlySystemLibrariesOfTheOldestSupportedWindows) {
    const std::set<std::string> allowed = {"kernel32.dll", "user32.dll",   "gdi32.dll",
                                           "advapi32.dll", "comctl32.dll", "shlwapi.dll",
                                           "version.dll",  "msvcrt.dll"};
    // Functions that a runtime may pull in but that Windows 95 or NT 4.0 lack:
    // the program would not even load there.
    const std::set<std::string> tooNew = {"GetTickCount64",
                                          "AddVectoredExceptionHandler",
                                          "RemoveVectoredExceptionHandler",
                                          "InitializeCriticalSectionEx",
                                          "InitOnceExecuteOnce",
                                          "InitializeSRWLock",
                                          "AcquireSRWLockExclusive",
                                          "ReleaseSRWLockExclusive",
                                          "AcquireSRWLockShared",
                                          "SleepConditionVariableSRW",
                                          "SleepConditionVariableCS",
                                          "WakeAllConditionVariable",
                                          "WakeConditionVariable",
                                          "FlsAlloc",
                                          "FlsFree",
                                          "FlsGetValue",
                                          "FlsSetValue",
                                          "GetModuleHandleExA",
                                          "GetModuleHandleExW",
                                          "SetThreadStackGuarantee",
                                          "GetSystemTimePreciseAsFileTime",
                                          "GetFileSizeEx",
                                          "SetFilePointerEx",
                                          "CreateSymbolicLinkW",
                                          "GetLogicalProcessorInformation",
                                          "IsDebuggerPresent",
                                          "InitializeCriticalSectionAndSpinCount",
                                          "GetCurrentProcessorNumber"};
    const auto imports = image_->Imports();
    ASSERT_FALSE(imports.empty());
    for (const auto& [dll, function] : imports) {
        EXPECT_TRUE(allowed.count(dll)) << "imports " << function << " from " << dll;
        EXPECT_FALSE(tooNew.count(function)) << dll << " " << function;
    }
}

}  // namespace
