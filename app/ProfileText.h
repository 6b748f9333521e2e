// How the platform reads a language file: its initialization-file rules over the file's bytes, so
// that a file read once gives every text as the platform's reader gives it. The tests hold these
// rules against GetPrivateProfileStringA.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "res/TextCatalog.h"

// What GetPrivateProfileStringA(section, key, defaultText, buffer, bufferSize, file) leaves in the
// buffer when the file holds `fileBytes`; a missing file reads like an empty one. The rules are
// those of the platform's reader with a single-byte ANSI code page (1252 wherever characters
// outside ASCII are converted), found by running it:
//  - A file starting with the UTF-8 or a UTF-16 byte order mark is decoded (invalid UTF-8 gives
//    U+FFFD per bad sequence) and its result converted to code page 1252 with best-fit
//    replacements, '?' where none exists; any other file is taken byte for byte.
//  - Lines end at every CR or LF. Blanks are TAB, LF, VT, FF, CR, Ctrl-Z and space; a line is
//    trimmed of them, and blank lines are skipped.
//  - A line starting with '[' and holding a ']' starts a section named by the text between the
//    '[' and the last ']', trimmed; what follows that ']' is ignored. Without a ']' it is an
//    ordinary line. Lines before the first section belong to a section with an empty name.
//  - Other lines are key=text, split at the first '='; the key loses its trailing blanks and the
//    text its leading ones. A line without '=' is a key without a text: finding it gives the
//    default, even when a later line has the same key with a text.
//  - Section and key names, also the requested ones (which are trimmed of blanks), are compared
//    ignoring the case of ASCII letters only, and end at a NUL. Only the first section with the
//    requested name is searched, and in it the first line with the key; a later section of the
//    same name is ignored. A NUL ends a text.
//  - A text longer than one character that starts and ends with the same quotation mark, '"' or
//    '\'', loses both. A text is cut to bufferSize - 1 characters; a quoted text that just fits
//    with its closing mark loses its last character too.
//  - The default applies when the file, the section, the key or its '=' is missing: it loses its
//    trailing spaces (one remains if it is nothing else) and then follows the quotation and
//    length rules of a text. A key present with an empty text gives an empty text.
namespace profile {
std::string ReadProfileString(std::string_view fileBytes, std::string_view section,
                              std::string_view key, std::string_view defaultText,
                              std::size_t bufferSize = kLanguageTextBufferSize);
}  // namespace profile

// One section of a file as those rules find it, for any number of lookups: the file's units and
// the lines of the first section of the name, in their order.
class ProfileSection {
public:
    ProfileSection() = default;  // an empty file's
    ProfileSection(std::string_view fileBytes, std::string_view section);
    // profile::ReadProfileString(fileBytes, section, key, defaultText, bufferSize).
    std::string Text(std::string_view key, std::string_view defaultText,
                     std::size_t bufferSize = kLanguageTextBufferSize) const;

private:
    // Offsets into the units: the key's name, and the text when the line has an '='.
    struct Line {
        std::size_t nameBegin, nameEnd, textBegin, textEnd;
        bool hasText;
    };
    std::u16string m_units;
    std::vector<Line> m_lines;
};

namespace profile {

// A language text as the language store shows it, from the file's "Linkvane" section: the
// key's text (or the English default) as a 2000-byte buffer takes it, then the '*' rule.
std::string LanguageText(const ProfileSection& texts, std::string_view key,
                         std::string_view englishDefault);

// The conversions between code page 1252 and UTF-16 that the rules above use (exposed for the
// tests that hold them against the platform's own).
char16_t AnsiToUnicode(unsigned char ansi);
unsigned char UnicodeToAnsi(char16_t unit);

}  // namespace profile
