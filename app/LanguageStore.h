// The language store: the texts of the chosen language file, or their English defaults.
#pragma once

#include <string>
#include <string_view>

#include "app/ProfileText.h"

// The texts of "<appPath>\Lang\<language>.ini" (section "Linkvane", at most 1999 characters each),
// or the English default where the file, the section or the key is missing; then every '*' turned
// into a line feed. The file is read at the first lookup after a change of the path or the
// language, or after Forget(), and its texts are taken from what was read, by the platform's
// reading rules (app/ProfileText.h). Where those rules do not hold (an ANSI code page other than
// 1252) or the file cannot be read at once, each lookup goes through the platform's reader. A
// text is data, never a format string.
class LanguageStore {
public:
    std::string Text(std::string_view appPath, std::string_view language, std::string_view key,
                     std::string_view englishDefault);
    // The next lookup reads the file again.
    void Forget();

private:
    void Read(const std::string& file);

    std::string m_file;  // the file read, "" before the first lookup
    bool m_throughPlatform = false;
    ProfileSection m_texts;
};
