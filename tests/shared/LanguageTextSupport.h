// Language texts read from a file's bytes as the language store reads them, for the tests of
// the language rules.
#pragma once

#include <string>
#include <string_view>

#include "app/ProfileText.h"
#include "res/TextCatalog.h"

namespace langtest {

// A language text exactly as the store shows it for a file holding `fileBytes`.
inline std::string LanguageTextFromBytes(std::string_view fileBytes, std::string_view key,
                                         std::string_view englishDefault) {
    return profile::LanguageText(ProfileSection(fileBytes, kLanguageSection), key, englishDefault);
}

}  // namespace langtest
