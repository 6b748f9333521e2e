// The text catalogue and the translators' template lang/English.ini built from it.
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <string>

// clang-format off
// Before the catalogue, as in the program's pages: the control ids are macros when the catalogue
// is expanded, and its keys of the same spelling must stay names.
#include "res/resource.h"
// clang-format on

#include "LanguageCorpus.h"
#include "res/TextCatalog.h"
#include "tests/shared/ProfileModel.h"

namespace {

const std::filesystem::path kTemplatePath =
    std::filesystem::path(VORNEL_SOURCE_DIR) / "lang" / "English.ini";

TEST(TextCatalog, EveryKeyOnceWithItsDefault) {
    std::set<std::string> keys;
    for (const TextEntry& entry : AllTexts()) {
        EXPECT_TRUE(keys.insert(entry.key).second) << entry.key;
        EXPECT_NE(std::string(entry.english), "") << entry.key;
    }
}

TEST(TextCatalog, DefaultsKeepTheirExactForm) {
    EXPECT_STREQ(text::kIDC_static_RecommendedMTU.english, "Recommended MTU size  :  %d bytes.");
    EXPECT_STREQ(text::k47.english, "Failed to reset your connection settings.");
    EXPECT_STREQ(text::k44.key, "44");
    EXPECT_STREQ(text::k44.english,
                 "Vornel could not write all of your connection settings. Please run it as an "
                 "administrator and try again.\nYour previous settings are kept in the backup.");
    const std::string modem = text::kIDC_DESCRIBTION.english;
    EXPECT_NE(modem.find("then Modem\\Properties, you see"), std::string::npos);
    EXPECT_NE(modem.find("115200 bps.\n\nHere we will add"), std::string::npos);
    EXPECT_STREQ(text::kIDC_static_step4_BlackHoeDetectExplain.key,
                 "IDC_static_step4_BlackHoeDetectExplain");
    EXPECT_STREQ(text::kIDC_HINT.key, "IDC_HINT");
    EXPECT_STREQ(text::kID_WIZBACK.key, "ID_WIZBACK");
    EXPECT_STREQ(text::kID_WIZBACK.english, "< &Back");
    EXPECT_STREQ(text::kIDOK.english, "OK");
}

// A default can stand in a one-line template text when reading that line back gives it again.
TEST(TextCatalog, EveryDefaultFitsAOneLineText) {
    for (const TextEntry& entry : AllTexts()) {
        const std::string english = entry.english;
        EXPECT_LT(english.size(), kLanguageTextBufferSize) << entry.key;
        EXPECT_EQ(english.find_first_of("\r\t\v\f\x1a"), std::string::npos) << entry.key;
        EXPECT_NE(english.front(), ' ') << entry.key;
        EXPECT_NE(english.back(), ' ') << entry.key;
        EXPECT_NE(english.front(), '"') << entry.key;
        EXPECT_NE(english.front(), '\'') << entry.key;
    }
}

TEST(LanguageTemplate, FileIsTheRenderedCatalogue) {
    ASSERT_TRUE(std::filesystem::exists(kTemplatePath)) << kTemplatePath;
    EXPECT_TRUE(corpus::ReadBytes(kTemplatePath) == RenderLanguageTemplate())
        << "lang/English.ini differs from the catalogue; rebuild it with the target "
           "language_template";
}

TEST(LanguageTemplate, ReadingItBackGivesEveryDefault) {
    const std::string file = corpus::ReadBytes(kTemplatePath);
    for (const TextEntry& entry : AllTexts()) {
        EXPECT_EQ(LanguageTextFromBytes(file, entry.key, "\x01missing"),
                  ApplyLineBreaks(entry.english))
            << entry.key;
    }
}

TEST(LanguageTemplate, HoldsOneLinePerEntryAfterTheSection) {
    const std::string file = RenderLanguageTemplate();
    const std::size_t section = file.find("\r\n[Linkvane]\r\n");
    ASSERT_NE(section, std::string::npos);
    std::istringstream body(file.substr(section + 14));
    std::size_t lines = 0;
    for (std::string line; std::getline(body, line);) ++lines;
    EXPECT_EQ(lines, AllTexts().size());
}

// Every shipped translation carries every text, the newest keys included.
TEST(ShippedLanguages, EveryFileHasEveryKey) {
    const std::filesystem::path folder = std::filesystem::path(VORNEL_SOURCE_DIR) / "lang";
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".ini") continue;
        ++files;
        const std::string bytes = corpus::ReadBytes(entry.path());
        for (const TextEntry& text : AllTexts()) {
            EXPECT_NE(LanguageTextFromBytes(bytes, text.key, "\x01missing"), "\x01missing")
                << entry.path().filename() << " lacks " << text.key;
        }
    }
    EXPECT_GE(files, 2u);
}

}  // namespace
