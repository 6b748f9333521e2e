// The text catalogue and the translators' template lang/English.ini built from it.
#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

// clang-format off
// Before the catalogue, as in the program's pages: the control ids are macros when the catalogue
// is expanded, and its keys of the same spelling must stay names.
#include "res/resource.h"
// clang-format on

#include "LanguageCorpus.h"
#include "app/ProfileText.h"
#include "res/TextCatalog.h"
#include "tests/shared/LanguageTextSupport.h"

namespace {

const std::filesystem::path kTemplatePath =
    std::filesystem::path(VORNEL_SOURCE_DIR) / "lang" / "English.ini";

TEST(TextCatalog, EveryKeyOnceWithItsDefault) {
    std::set<std::string> keys;
    for (const TextEntry& entry : text::AllTexts()) {
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
    for (const TextEntry& entry : text::AllTexts()) {
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
    EXPECT_TRUE(corpus::ReadBytes(kTemplatePath) == text::RenderLanguageTemplate())
        << "lang/English.ini differs from the catalogue; rebuild it with the target "
           "language_template";
}

TEST(LanguageTemplate, ReadingItBackGivesEveryDefault) {
    const std::string file = corpus::ReadBytes(kTemplatePath);
    for (const TextEntry& entry : text::AllTexts()) {
        EXPECT_EQ(langtest::LanguageTextFromBytes(file, entry.key, "\x01missing"),
                  text::ApplyLineBreaks(entry.english))
            << entry.key;
    }
}

TEST(LanguageTemplate, HoldsOneLinePerEntryAfterTheSection) {
    const std::string file = text::RenderLanguageTemplate();
    const std::size_t section = file.find("\r\n[Linkvane]\r\n");
    ASSERT_NE(section, std::string::npos);
    std::istringstream body(file.substr(section + 14));
    std::size_t lines = 0;
    for (std::string line; std::getline(body, line);) ++lines;
    EXPECT_EQ(lines, text::AllTexts().size());
}

// ---------------------------------------------------------------------------
// The shipped language files against the template: each read with the reader's rules.

std::vector<corpus::File> ShippedLanguageFiles() {
    return corpus::FilesIn(std::filesystem::path(VORNEL_SOURCE_DIR) / "lang", "");
}

bool IsReaderBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}

std::string_view TrimReaderBlanks(std::string_view text) {
    while (!text.empty() && IsReaderBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsReaderBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string AsciiLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

// The keys a file writes in its text section, in file order, found line by line with the
// reader's rules for line ends, blanks, section headers and keys.
std::vector<std::string> KeysInTextSection(std::string_view bytes) {
    const std::string section = AsciiLower(kLanguageSection);
    std::vector<std::string> keys;
    bool inSection = false;
    for (std::size_t begin = 0; begin < bytes.size();) {
        const std::size_t end = std::min(bytes.find_first_of("\r\n", begin), bytes.size());
        const std::string_view line = TrimReaderBlanks(bytes.substr(begin, end - begin));
        begin = end + 1;
        if (line.empty()) continue;
        if (line.front() == '[' && line.find(']') != std::string_view::npos) {
            const std::string_view name = line.substr(1, line.rfind(']') - 1);
            inSection = AsciiLower(TrimReaderBlanks(name)) == section;
        } else if (inSection) {
            keys.emplace_back(TrimReaderBlanks(line.substr(0, line.find('='))));
        }
    }
    return keys;
}

// The layout a text's line breaks give it: every run of other characters as 'x', every break as
// '*'; "a\nb\n\nc" gives "x*x**x".
std::string BreakShape(std::string_view text) {
    std::string shape;
    for (char c : text) {
        if (c == '\n') {
            shape += '*';
        } else if (shape.empty() || shape.back() != 'x') {
            shape += 'x';
        }
    }
    return shape;
}

// How often each place the program fills appears: a number's, and the Windows names'.
std::vector<std::size_t> PlaceholderCount(std::string_view text) {
    std::vector<std::size_t> counts;
    for (std::string_view marker : {"%d", "{backup}", "{windows}"}) {
        std::size_t count = 0;
        for (std::size_t at = text.find(marker); at != std::string_view::npos;
             at = text.find(marker, at + marker.size())) {
            ++count;
        }
        counts.push_back(count);
    }
    return counts;
}

// Whether every byte above 0x7F belongs to a well-formed UTF-8 sequence (overlong forms aside).
bool IsWellFormedUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = lead < 0x80   ? 1
                                   : lead < 0xC2 ? 0
                                   : lead < 0xE0 ? 2
                                   : lead < 0xF0 ? 3
                                   : lead < 0xF5 ? 4
                                                 : 0;
        if (length == 0 || i + length > bytes.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
        }
        i += length;
    }
    return true;
}

// Exactly the template's keys, each once and with a text: a missing or misspelt key shows
// English in the middle of the translation, and a second line of a key is never read.
TEST(ShippedLanguages, EveryFileHasExactlyTheTemplatesKeys) {
    std::set<std::string> expected;
    for (const TextEntry& entry : text::AllTexts()) expected.insert(entry.key);
    const auto files = ShippedLanguageFiles();
    EXPECT_GE(files.size(), 4u);
    for (const corpus::File& file : files) {
        SCOPED_TRACE(file.name);
        std::set<std::string> written, folded;
        for (const std::string& key : KeysInTextSection(file.bytes)) {
            EXPECT_TRUE(folded.insert(AsciiLower(key)).second) << "written twice: " << key;
            EXPECT_NE(langtest::LanguageTextFromBytes(file.bytes, key, "\x01missing"),
                      "\x01missing")
                << "no text read for " << key;
            written.insert(key);
        }
        for (const std::string& key : expected) {
            EXPECT_TRUE(written.count(key)) << "lacks " << key;
        }
        for (const std::string& key : written) {
            EXPECT_TRUE(expected.count(key)) << "has a key the template lacks: " << key;
        }
    }
}

// A "%d" is where the program puts a number, so a translation keeps as many as English has. A
// text that English breaks into lines (a list, a paragraph, the name that the page's status
// sentence continues after an empty line) keeps the same breaks in the same order; a text
// without breaks may gain some to fit its control.
TEST(ShippedLanguages, TextsKeepTheirNumbersAndLineBreaks) {
    for (const corpus::File& file : ShippedLanguageFiles()) {
        SCOPED_TRACE(file.name);
        for (const TextEntry& entry : text::AllTexts()) {
            const std::string english = text::ApplyLineBreaks(entry.english);
            const std::string text =
                langtest::LanguageTextFromBytes(file.bytes, entry.key, english);
            EXPECT_EQ(PlaceholderCount(text), PlaceholderCount(english)) << entry.key;
            if (english.find('\n') != std::string::npos) {
                EXPECT_EQ(BreakShape(text), BreakShape(english)) << entry.key;
            }
            EXPECT_LT(text.size(), kLanguageTextBufferSize - 1) << entry.key << " is cut";
        }
    }
}

// The program reads the files in the ANSI code page 1252: a file saved as UTF-8 would show two
// odd characters for every accented letter.
TEST(ShippedLanguages, FilesAreInTheAnsiCodePage) {
    for (const corpus::File& file : ShippedLanguageFiles()) {
        SCOPED_TRACE(file.name);
        EXPECT_NE(file.bytes.rfind(corpus::kBom8, 0), 0u) << "starts with a UTF-8 mark";
        EXPECT_NE(file.bytes.rfind("\xFF\xFE", 0), 0u) << "starts with a UTF-16 mark";
        const bool hasHighBytes = std::any_of(file.bytes.begin(), file.bytes.end(), [](char c) {
            return static_cast<unsigned char>(c) >= 0x80;
        });
        EXPECT_FALSE(hasHighBytes && IsWellFormedUtf8(file.bytes)) << "written as UTF-8";
    }
}

// Names go into a language file's text where its fields are, whatever order a translation
// gives them, and only there: a name holding a field, or a brace of the text's own, stays.
TEST(FillIn, PutsEachNameWhereItsFieldIsAndNothingElse) {
    const text::TextField fields[] = {{"{backup}", "Windows {windows}"}, {"{windows}", "XP"}};
    EXPECT_EQ(text::FillIn("{windows} ne lit pas {backup} {x}.", fields),
              "XP ne lit pas Windows {windows} {x}.");
    EXPECT_EQ(text::FillIn("No field {backup", fields), "No field {backup");
}

}  // namespace
