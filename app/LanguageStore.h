// The language store's lookup: a text of the chosen language file, or its English default.
#pragma once

#include <string>
#include <string_view>

// The text of `key` in "<appPath>\Lang\<language>.ini" (section "Linkvane", at most 1999
// characters), or `englishDefault` when the file, the section or the key is missing; then every
// '*' turned into a line feed. The path is built, and the file looked for and read, at every
// call, so a changed language applies to the very next lookup. The result is data, never a
// format string.
std::string ReadLanguageText(std::string_view appPath, std::string_view language,
                             std::string_view key, std::string_view englishDefault);
