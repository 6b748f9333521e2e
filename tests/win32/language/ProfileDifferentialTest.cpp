// The portable reader against the platform's GetPrivateProfileStringA over one corpus of
// language files: both must give the same text for every lookup.
#include <windows.h>

#include <cstdlib>
#include <gtest/gtest.h>
#include <map>

#include "app/ProfileText.h"
#include "tests/unit/language/LanguageCorpus.h"

namespace {

// The build's paths are host paths; Wine shows the host's root as drive Z.
std::filesystem::path HostPath(const std::string& path) {
    return path.starts_with('/') ? std::filesystem::path("Z:" + path) : std::filesystem::path(path);
}

const std::filesystem::path kSourceDir = HostPath(VORNEL_SOURCE_DIR);

class ScratchFolder {
public:
    ScratchFolder()
        : m_path(std::filesystem::temp_directory_path() /
                 ("vornel-lang-" + std::to_string(GetCurrentProcessId()))) {
        std::filesystem::create_directories(m_path);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

std::string PlatformRead(const std::string& file, const corpus::Lookup& lookup) {
    std::string buffer(kLanguageTextBufferSize, '\0');
    GetPrivateProfileStringA(lookup.section.c_str(), lookup.key.c_str(), lookup.defaultText.c_str(),
                             buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
    buffer.resize(buffer.find('\0'));
    return buffer;
}

// Runs every lookup in every file through both readers; returns each file's digest of the
// platform's results.
std::map<std::string, std::string> CompareReaders(const std::vector<corpus::File>& files) {
    ScratchFolder folder;
    const auto lookups = corpus::Lookups();
    std::map<std::string, std::string> digests;
    int mismatches = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const corpus::File& file = files[i];
        const std::string path = (folder.Path() / ("file" + std::to_string(i) + ".ini")).string();
        {
            std::ofstream out(path, std::ios::binary);
            out.write(file.bytes.data(), static_cast<std::streamsize>(file.bytes.size()));
        }
        corpus::Digest digest;
        for (const corpus::Lookup& lookup : lookups) {
            const std::string platform = PlatformRead(path, lookup);
            const std::string portable = profile::ReadProfileString(file.bytes, lookup.section,
                                                                    lookup.key, lookup.defaultText);
            digest.Add(platform);
            if (platform != portable && ++mismatches <= 40) {
                ADD_FAILURE() << file.name << ": [" << corpus::Visible(lookup.section) << "] "
                              << corpus::Visible(lookup.key) << " default "
                              << corpus::Visible(lookup.defaultText)
                              << "\n  platform: " << corpus::Visible(platform)
                              << "\n  portable: " << corpus::Visible(portable);
            }
        }
        digests[file.name] = digest.Hex();
    }
    EXPECT_EQ(mismatches, 0);
    return digests;
}

class ProfileDifferential : public ::testing::Test {
protected:
    void SetUp() override {
        // Characters outside ASCII are converted through the ANSI code page.
        if (GetACP() != 1252) GTEST_SKIP() << "the corpus expects ANSI code page 1252";
    }
};

TEST_F(ProfileDifferential, CorpusReadsAlikeAndAsRecorded) {
    const auto digests = CompareReaders(corpus::RecordedFiles(kSourceDir));
    const std::string resultsPath = corpus::RecordedResultsPath(kSourceDir);
    if (std::getenv("VORNEL_RECORD_LANGUAGE_CORPUS") != nullptr) {
        std::ofstream out(resultsPath, std::ios::binary);
        for (const auto& [name, digest] : digests) out << name << ' ' << digest << '\n';
        ASSERT_TRUE(out.flush()) << "cannot write " << resultsPath;
        return;
    }
    std::ifstream in(resultsPath);
    std::map<std::string, std::string> recorded;
    for (std::string name, digest; in >> name >> digest;) recorded[name] = digest;
    EXPECT_EQ(recorded, digests) << "the platform's results differ from " << resultsPath;
}

TEST_F(ProfileDifferential, ShippedLanguageFilesReadAlike) {
    const auto files = corpus::FilesIn(kSourceDir / "lang", "lang/");
    EXPECT_FALSE(files.empty());
    CompareReaders(files);
}

TEST_F(ProfileDifferential, CodePageConversionsMatchThePlatform) {
    for (int byte = 0; byte < 256; ++byte) {
        const char ansi = static_cast<char>(byte);
        wchar_t unit = 0;
        ASSERT_EQ(MultiByteToWideChar(1252, 0, &ansi, 1, &unit, 1), 1);
        EXPECT_EQ(static_cast<char16_t>(unit),
                  profile::AnsiToUnicode(static_cast<unsigned char>(byte)))
            << byte;
    }
    int mismatches = 0;
    for (unsigned code = 1; code < 0x10000; ++code) {
        const wchar_t unit = static_cast<wchar_t>(code);
        char ansi = 0;
        ASSERT_EQ(WideCharToMultiByte(1252, 0, &unit, 1, &ansi, 1, nullptr, nullptr), 1);
        const auto expected = static_cast<unsigned char>(ansi);
        if (profile::UnicodeToAnsi(static_cast<char16_t>(code)) != expected && ++mismatches <= 20) {
            ADD_FAILURE() << std::hex << "U+" << code << " gives 0x" << unsigned{expected};
        }
    }
    EXPECT_EQ(mismatches, 0);
}

}  // namespace
