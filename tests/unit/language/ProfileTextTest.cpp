// The initialization-file reading rules over in-memory files, and the '*' rule.
#include <gtest/gtest.h>
#include <string>

#include "app/ProfileText.h"
#include "tests/shared/LanguageTextSupport.h"

namespace {

using namespace std::string_literals;

const std::string kHeader = "[Linkvane]\r\n";

// The text of `key` in section Linkvane, with "dflt" as the default.
std::string Read(const std::string& file, const std::string& key,
                 const std::string& fallback = "dflt") {
    return profile::ReadProfileString(file, "Linkvane", key, fallback);
}

TEST(ProfileSections, FindsTheSectionWhateverItsCaseAndBlanks) {
    EXPECT_EQ(Read("[LINKVANE]\r\nk=v\r\n", "k"), "v");
    EXPECT_EQ(Read("  [ \tLinkvane\x0b ]  \r\nk=v\r\n", "k"), "v");
    EXPECT_EQ(profile::ReadProfileString(kHeader + "k=v\r\n", " linkvane\t", "k", "dflt"), "v");
}

TEST(ProfileSections, NameEndsAtTheLastClosingBracket) {
    EXPECT_EQ(Read("[Linkvane] junk\r\nk=v\r\n", "k"), "v");
    EXPECT_EQ(Read("[Linkvane] ]\r\nk=v\r\n", "k"), "dflt");
    EXPECT_EQ(profile::ReadProfileString("[Linkvane] ]\r\nk=v\r\n", "Linkvane]", "k", "dflt"), "v");
    EXPECT_EQ(profile::ReadProfileString("[a=b]\r\nk=v\r\n", "a=b", "k", "dflt"), "v");
}

TEST(ProfileSections, UnclosedHeaderIsAnOrdinaryLine) {
    EXPECT_EQ(Read("[Linkvane\r\nk=v\r\n", "k"), "dflt");
    EXPECT_EQ(Read(kHeader + "[k=v\r\n", "[k"), "v");
}

TEST(ProfileSections, OnlyTheFirstSectionOfAName) {
    const std::string file = kHeader + "k=first\r\n[Other]\r\nx=o\r\n" + kHeader + "x=second\r\n";
    EXPECT_EQ(Read(file, "k"), "first");
    EXPECT_EQ(Read(file, "x"), "dflt");
}

TEST(ProfileSections, OtherSectionsAndGlobalLinesAreIgnored) {
    const std::string file = "k=global\r\n[Other]\r\nk=other\r\n[Linkvane2]\r\nk=two\r\n";
    EXPECT_EQ(Read(file, "k"), "dflt");
    EXPECT_EQ(Read("k=global\r\n" + kHeader + "x=v\r\n", "k"), "dflt");
    // Lines before any header form a section without a name.
    EXPECT_EQ(profile::ReadProfileString("k=global\r\n", "", "k", "dflt"), "global");
}

TEST(ProfileSections, NulEndsTheName) {
    EXPECT_EQ(Read("[Linkvane\0tail]\r\nk=v\r\n"s, "k"), "v");
    EXPECT_EQ(Read("[Link\0vane]\r\nk=v\r\n"s, "k"), "dflt");
}

TEST(ProfileKeys, MatchIgnoringAsciiCaseOnly) {
    EXPECT_EQ(Read(kHeader + "IDC_Hint=v\r\n", "idc_HINT"), "v");
    EXPECT_EQ(Read(kHeader + "x\xC9=v\r\n", "x\xC9"), "v");
    EXPECT_EQ(Read(kHeader + "x\xC9=v\r\n", "x\xE9"), "dflt");
}

TEST(ProfileKeys, BlanksAroundTheKeyAreDropped) {
    EXPECT_EQ(Read(kHeader + " \tk \x1a= v\r\n", "k"), "v");
    EXPECT_EQ(Read(kHeader + "k=v\r\n", "  k\t"), "v");
    EXPECT_EQ(Read(kHeader + "a b=v\r\n", "a b"), "v");
    EXPECT_EQ(Read(kHeader + "a b=v\r\n", "ab"), "dflt");
    EXPECT_EQ(Read(kHeader + "\xA0k=v\r\n", "k"), "dflt");  // NBSP is no blank
}

TEST(ProfileKeys, FirstLineOfAKeyWins) {
    EXPECT_EQ(Read(kHeader + "k=first\r\nK=second\r\n", "k"), "first");
    // A line without '=' is the key's first line: it has no text, so the default shows.
    EXPECT_EQ(Read(kHeader + "k\r\nk=later\r\n", "k"), "dflt");
}

TEST(ProfileKeys, CommentsAreOnlyKeysNobodyAsksFor) {
    const std::string file = kHeader + ";k=comment\r\nk=real\r\n";
    EXPECT_EQ(Read(file, "k"), "real");
    EXPECT_EQ(Read(file, ";k"), "comment");
}

TEST(ProfileKeys, NulEndsTheName) {
    EXPECT_EQ(Read(kHeader + "k\0junk=v\r\n"s, "k"), "v");
    // Blanks before the NUL stay part of the name.
    EXPECT_EQ(Read(kHeader + "k \0x=v\r\n"s, "k"), "dflt");
}

TEST(ProfileTexts, BlanksAroundTheTextAreDropped) {
    EXPECT_EQ(Read(kHeader + "k=\t value  with  blanks \x1a\x0c\r\n", "k"), "value  with  blanks");
    EXPECT_EQ(Read(kHeader + "k=b=c\r\n", "k"), "b=c");
    EXPECT_EQ(Read(kHeader + "k=\xA0v\xA0\r\n", "k"), "\xA0v\xA0");
}

TEST(ProfileTexts, EnclosingQuotationMarksAreDropped) {
    EXPECT_EQ(Read(kHeader + "k=\"quoted\"\r\n", "k"), "quoted");
    EXPECT_EQ(Read(kHeader + "k='single'\r\n", "k"), "single");
    EXPECT_EQ(Read(kHeader + "k=\" inner \"\r\n", "k"), " inner ");
    EXPECT_EQ(Read(kHeader + "k=\"\"\r\n", "k"), "");
    EXPECT_EQ(Read(kHeader + "k=\"\r\n", "k"), "\"");
    EXPECT_EQ(Read(kHeader + "k=\"open\r\n", "k"), "\"open");
    EXPECT_EQ(Read(kHeader + "k=\"mixed'\r\n", "k"), "\"mixed'");
    EXPECT_EQ(Read(kHeader + "k=say \"hi\"\r\n", "k"), "say \"hi\"");
}

TEST(ProfileTexts, EmptyTextIsNotTheDefault) {
    EXPECT_EQ(Read(kHeader + "k=\r\n", "k"), "");
    EXPECT_EQ(Read(kHeader + "k =   \r\n", "k"), "");
}

TEST(ProfileTexts, NulEndsTheText) {
    EXPECT_EQ(Read(kHeader + "k=before\0after\r\n"s, "k"), "before");
    EXPECT_EQ(Read(kHeader + "k=v \0\r\n"s, "k"), "v ");
}

TEST(ProfileTexts, CutToTheBuffer) {
    const std::string exact(1999, 'a');
    EXPECT_EQ(Read(kHeader + "k=" + exact + "\r\n", "k"), exact);
    EXPECT_EQ(Read(kHeader + "k=" + exact + "bcd\r\n", "k"), exact);
    EXPECT_EQ(profile::ReadProfileString(kHeader + "k=abcdef\r\n", "Linkvane", "k", "dflt", 4),
              "abc");
    EXPECT_EQ(profile::ReadProfileString(kHeader + "k=abcdef\r\n", "Linkvane", "k", "dflt", 0), "");
}

TEST(ProfileTexts, QuotedTextAtTheBufferEdge) {
    const auto quoted = [](std::size_t inner) {
        return kHeader + "k=\"" + std::string(inner, 'q') + "\"\r\n";
    };
    EXPECT_EQ(Read(quoted(1998), "k"), std::string(1998, 'q'));
    // Text and closing mark fill the buffer exactly: the platform drops a character too many.
    EXPECT_EQ(Read(quoted(1999), "k"), std::string(1998, 'q'));
    EXPECT_EQ(Read(quoted(2000), "k"), std::string(1999, 'q'));
}

TEST(ProfileDefaults, UsedWhenFileSectionOrKeyIsMissing) {
    EXPECT_EQ(Read("", "k"), "dflt");
    EXPECT_EQ(Read("[Other]\r\nk=v\r\n", "k"), "dflt");
    EXPECT_EQ(Read(kHeader + "x=v\r\n", "k"), "dflt");
}

TEST(ProfileDefaults, FollowTheTextRules) {
    EXPECT_EQ(Read("", "k", "trailing   "), "trailing");
    EXPECT_EQ(Read("", "k", "tab\t"), "tab\t");
    EXPECT_EQ(Read("", "k", "   "), " ");
    EXPECT_EQ(Read("", "k", ""), "");
    EXPECT_EQ(Read("", "k", "\"quoted\""), "quoted");
    EXPECT_EQ(Read("", "k", std::string(2100, 'L')), std::string(1999, 'L'));
    EXPECT_EQ(Read("", "k", "line\nfeed"), "line\nfeed");
}

TEST(ProfileLines, EveryCrOrLfEndsALine) {
    EXPECT_EQ(Read("[Linkvane]\nk=lf\nx=2\n", "k"), "lf");
    EXPECT_EQ(Read("[Linkvane]\rk=cr\rx=2\r", "x"), "2");
    EXPECT_EQ(Read("[Linkvane]\n\rk=v\n\r", "k"), "v");
    EXPECT_EQ(Read(kHeader + "k=last", "k"), "last");
    EXPECT_EQ(Read(kHeader + "k=dos\x1a\x1a", "k"), "dos");
}

TEST(ProfileLines, VerticalTabAndFormFeedDoNotEndLines) {
    EXPECT_EQ(Read("[Linkvane]\x0bk=v\r\n", "k"), "dflt");
    EXPECT_EQ(Read(kHeader + "x=a\x0c"
                             "1=b\r\n",
                   "x"),
              "a\x0c"
              "1=b");
}

TEST(ProfileEncodings, Utf8WithByteOrderMarkIsConvertedToTheCodePage) {
    const std::string bom = "\xEF\xBB\xBF";
    EXPECT_EQ(Read(bom + kHeader + "k=caf\xC3\xA9 \xE2\x82\xAC \xC4\x80 \xE4\xB8\xAD\r\n", "k"),
              "caf\xE9 \x80 A ?");
    EXPECT_EQ(Read(bom + kHeader + "k=\xF0\x9F\x98\x80\r\n", "k"), "??");
    // A best-fit '=' is still no separator.
    EXPECT_EQ(Read(bom + kHeader + "k\xEF\xBC\x9Dv\r\n", "k"), "dflt");
    EXPECT_EQ(Read(bom + "\xEF\xBB\xBF" + kHeader + "k=v\r\n", "k"), "dflt");
    EXPECT_EQ(Read("\xEF\xBB" + kHeader + "k=v\r\n", "k"), "dflt");
}

TEST(ProfileEncodings, InvalidUtf8BecomesOneReplacementPerBadSequence) {
    const std::string bom = "\xEF\xBB\xBF";
    EXPECT_EQ(Read(bom + kHeader +
                       "k=a\xFF"
                       "b\xC3"
                       "c\xE2\x82"
                       "d\r\n",
                   "k"),
              "a?b?c?d");
    EXPECT_EQ(Read(bom + kHeader + "k=\xC0\xAF|\xED\xA0\x80|\xF4\x90\x80\x80\r\n", "k"),
              "??|??|???");
    EXPECT_EQ(Read(bom + kHeader + "k=\xE0\x80\x80|\xF0\x80\x80\x80|\xF5\x80\r\n", "k"),
              "??|???|??");
    EXPECT_EQ(Read(bom + kHeader + "k=end\xF0\x9F\x98", "k"), "end?");
}

TEST(ProfileEncodings, Utf16WithByteOrderMark) {
    const std::string little = "\xFF\xFE[\0L\0i\0n\0k\0v\0a\0n\0e\0]\0\n\0k\0=\0\xE9\0\x2D\x4E"s;
    EXPECT_EQ(Read(little, "k"), "\xE9?");
    const std::string big = "\xFE\xFF\0[\0L\0i\0n\0k\0v\0a\0n\0e\0]\0\n\0k\0=\0\"\0v\0\""s;
    EXPECT_EQ(Read(big, "k"), "v");
    EXPECT_EQ(Read(little + "\r", "k"), "\xE9?");  // an odd last byte is dropped
    EXPECT_EQ(Read("\xFF\xFE", "k"), "dflt");
    EXPECT_EQ(Read("\xFF", "k"), "dflt");
}

TEST(ProfileEncodings, CodePageTablesConvertEveryByteBothWays) {
    for (int byte = 0; byte < 256; ++byte) {
        const auto ansi = static_cast<unsigned char>(byte);
        EXPECT_EQ(profile::UnicodeToAnsi(profile::AnsiToUnicode(ansi)), ansi) << byte;
    }
    EXPECT_EQ(profile::AnsiToUnicode(0x80), u'\u20AC');
    EXPECT_EQ(profile::UnicodeToAnsi(u'\u0100'), 'A');
    EXPECT_EQ(profile::UnicodeToAnsi(u'\u4E2D'), '?');
}

TEST(ProfileNastyFiles, HugeFileWithTheKeyAtTheEnd) {
    std::string file = kHeader;
    for (int i = 0; i < 300000; ++i) file += "filler" + std::to_string(i) + "=some text\r\n";
    file += "k=found\r\n";
    EXPECT_EQ(Read(file, "k"), "found");
    EXPECT_EQ(Read(file, "absent"), "dflt");
}

TEST(ProfileNastyFiles, LinesOfAnyLength) {
    for (std::size_t length : {0u, 1u, 1998u, 1999u, 2000u, 65536u, 1u << 20}) {
        const std::string file = kHeader + "x=" + std::string(length, 'y') + "\r\n" +
                                 std::string(length, 'n') + "\r\nk=v";
        EXPECT_EQ(Read(file, "x"), std::string(std::min<std::size_t>(length, 1999), 'y'));
        EXPECT_EQ(Read(file, "k"), "v") << length;
    }
}

TEST(ProfileNastyFiles, BinaryNoiseNeverGivesMoreThanTheBuffer) {
    std::uint32_t state = 12345;
    for (int round = 0; round < 200; ++round) {
        std::string file(static_cast<std::size_t>(round) * 37, '\0');
        for (char& c : file) {
            state = state * 1103515245u + 12345u;
            c = static_cast<char>(state >> 24);
        }
        const std::string text = Read(file, "k");
        EXPECT_LE(text.size(), 1999u);
        EXPECT_EQ(text.find('\0'), std::string::npos);
    }
}

TEST(ProfileNastyFiles, NoSectionAtAll) {
    EXPECT_EQ(Read("k=v\r\nIDC_HINT=hint\r\n", "IDC_HINT"), "dflt");
    EXPECT_EQ(Read("just some words\r\nwithout any structure", "k"), "dflt");
}

TEST(LanguageText, StarsBecomeLineFeeds) {
    EXPECT_EQ(text::ApplyLineBreaks("one*two"), "one\ntwo");
    EXPECT_EQ(text::ApplyLineBreaks("one**two"), "one\n\ntwo");
    EXPECT_EQ(text::ApplyLineBreaks("**"), "\n\n");
    EXPECT_EQ(text::ApplyLineBreaks("none"), "none");
}

TEST(LanguageText, FileTextOrDefaultWithTheStarRule) {
    const std::string file = kHeader + "IDC_HINT=Hint*with**breaks\r\nempty=\r\n";
    EXPECT_EQ(langtest::LanguageTextFromBytes(file, "idc_hint", "x"), "Hint\nwith\n\nbreaks");
    EXPECT_EQ(langtest::LanguageTextFromBytes(file, "empty", "x"), "");
    EXPECT_EQ(langtest::LanguageTextFromBytes(file, "absent", "a*b\nc"), "a\nb\nc");
    EXPECT_EQ(langtest::LanguageTextFromBytes("", "41", "first\nsecond"), "first\nsecond");
}

TEST(LanguageText, IsDataNeverAFormat) {
    const std::string file = kHeader + "k=%s %n %d %%\r\n";
    EXPECT_EQ(langtest::LanguageTextFromBytes(file, "k", "x"), "%s %n %d %%");
}

TEST(LanguageText, CutAt1999CharactersBeforeTheStarRule) {
    const std::string stars(2500, '*');
    EXPECT_EQ(langtest::LanguageTextFromBytes(kHeader + "k=" + stars + "\r\n", "k", "x"),
              std::string(1999, '\n'));
}

}  // namespace
