// The language store's lookup: path, section, buffer and '*' rule, and when the file is read.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "app/LanguageStore.h"
#include "res/TextCatalog.h"

namespace {

class LanguageStore : public ::testing::Test {
protected:
    LanguageStore()
        : m_appPath(std::filesystem::temp_directory_path() /
                    ("vornel-store-" + std::to_string(GetCurrentProcessId()))) {
        std::filesystem::create_directories(m_appPath / "Lang");
    }
    ~LanguageStore() override {
        std::error_code ignored;
        std::filesystem::remove_all(m_appPath, ignored);
    }

    void WriteLanguage(const std::string& language, const std::string& bytes) {
        std::ofstream out(m_appPath / "Lang" / (language + ".ini"), std::ios::binary);
        out << bytes;
    }
    std::string Text(const std::string& language, const std::string& key,
                     const std::string& fallback) {
        return ::LanguageStore().Text(m_appPath.string(), language, key, fallback);
    }

    std::filesystem::path m_appPath;
};

TEST_F(LanguageStore, FileTextWithLineBreaks) {
    WriteLanguage("Deutsch", "[Linkvane]\r\nidc_hint=Erste Zeile*Zweite**Dritte\r\n41=\r\n");
    EXPECT_EQ(Text("Deutsch", "IDC_HINT", "x"), "Erste Zeile\nZweite\n\nDritte");
    EXPECT_EQ(Text("Deutsch", "41", text::k41.english), "");
}

TEST_F(LanguageStore, DefaultWhenFileSectionOrKeyIsMissing) {
    WriteLanguage("Partial", "[Other]\r\n41=elsewhere\r\n");
    for (const char* language : {"Missing", "Partial", ""}) {
        EXPECT_EQ(Text(language, "41", text::k41.english), text::k41.english) << language;
        EXPECT_EQ(Text(language, "IDC_HINT", text::kIDC_HINT.english),
                  "Vornel will save your original settings, so if you feel that Vornel doesn't "
                  "speed up your conection, you can reset your connection settings by simply "
                  "click the 'Reset Connection Settings' Button.\n\nSo Good Luck ...");
    }
    EXPECT_EQ(::LanguageStore().Text("Z:\\no\\such\\folder", "English", "79", text::k79.english),
              text::k79.english);
}

// A missing file is passed over without the platform's reader, which must not show: every
// default reads as the reader gives it for a file that lacks the key.
TEST_F(LanguageStore, MissingFileGivesTheDefaultAsTheReaderDoes) {
    WriteLanguage("Keyless", "[Linkvane]\r\n");
    std::filesystem::create_directories(m_appPath / "Lang" / "Folder.ini");
    const std::string defaults[] = {"Plain*text",
                                    "trailing  ",
                                    "  ",
                                    "\"quoted\"",
                                    "'q'",
                                    "\"",
                                    "caf\xe9",
                                    std::string(2100, 'x'),
                                    "\"" + std::string(1998, 'x') + "\""};
    for (const std::string& fallback : defaults) {
        const std::string expected = Text("Keyless", "k", fallback);
        EXPECT_EQ(Text("Missing", "k", fallback), expected) << fallback.substr(0, 20);
        EXPECT_EQ(Text("", "k", fallback), expected) << fallback.substr(0, 20);
    }
    EXPECT_EQ(Text("Folder", "k", "Plain*text"), "Plain\ntext");
    // Nothing is remembered of a missing file: one that appears is read at the next lookup.
    EXPECT_EQ(Text("Later", "18", "Vornel"), "Vornel");
    WriteLanguage("Later", "[Linkvane]\r\n18=Now\r\n");
    EXPECT_EQ(Text("Later", "18", "Vornel"), "Now");
}

TEST_F(LanguageStore, EveryLookupReadsTheFileAgain) {
    WriteLanguage("One", "[Linkvane]\r\n18=First\r\n");
    WriteLanguage("Two", "[Linkvane]\r\n18=Second\r\n");
    EXPECT_EQ(Text("One", "18", "Vornel"), "First");
    EXPECT_EQ(Text("Two", "18", "Vornel"), "Second");
    WriteLanguage("One", "[Linkvane]\r\n18=Changed\r\n");
    EXPECT_EQ(Text("One", "18", "Vornel"), "Changed");
}

// The program's store reads its file once: a change shows at the next change of language.
TEST_F(LanguageStore, StoreReadsAFileAgainOnlyAfterALanguageChange) {
    WriteLanguage("One", "[Linkvane]\r\n18=First\r\n41=Done\r\n");
    WriteLanguage("Two", "[Linkvane]\r\n18=Second\r\n");
    const std::string path = m_appPath.string();
    ::LanguageStore store;
    EXPECT_EQ(store.Text(path, "One", "18", "Vornel"), "First");
    WriteLanguage("One", "[Linkvane]\r\n18=Changed\r\n");
    EXPECT_EQ(store.Text(path, "One", "41", "x"), "Done");
    EXPECT_EQ(store.Text(path, "Two", "18", "Vornel"), "Second");
    EXPECT_EQ(store.Text(path, "One", "18", "Vornel"), "Changed");
    EXPECT_EQ(store.Text(path, "One", "41", "x"), "x");
    WriteLanguage("One", "[Linkvane]\r\n18=Again\r\n");
    store.Forget();
    EXPECT_EQ(store.Text(path, "One", "18", "Vornel"), "Again");
    // A file that appears after a lookup found none is read once the store is told.
    EXPECT_EQ(store.Text(path, "Later", "18", "Vornel"), "Vornel");
    WriteLanguage("Later", "[Linkvane]\r\n18=Now\r\n");
    store.Forget();
    EXPECT_EQ(store.Text(path, "Later", "18", "Vornel"), "Now");
}

TEST_F(LanguageStore, TextsAreCutAt1999Characters) {
    WriteLanguage("Long", "[Linkvane]\r\nk=" + std::string(3000, '*') + "\r\n");
    EXPECT_EQ(Text("Long", "k", "x"), std::string(1999, '\n'));
}

TEST_F(LanguageStore, TextIsDataNeverAFormat) {
    WriteLanguage("Format", "[Linkvane]\r\nk=%s%s%n %d\r\n");
    EXPECT_EQ(Text("Format", "k", "x"), "%s%s%n %d");
}

TEST_F(LanguageStore, OverlongPathGivesTheDefault) {
    const std::string language(600, 'L');
    EXPECT_EQ(Text(language, "18", "Vornel"), "Vornel");
    EXPECT_EQ(::LanguageStore().Text(std::string(700, 'A'), language, "18", "Vornel"), "Vornel");
}

}  // namespace
