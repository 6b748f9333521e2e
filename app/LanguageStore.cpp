// The language store's lookup through the platform's initialization-file reader.
#include "app/LanguageStore.h"

#include <windows.h>

#include <algorithm>

#include "res/TextCatalog.h"

namespace {

// True when the reader gives `text` back unchanged as its default: short enough, in ASCII (no
// code page conversion), without a NUL or trailing blanks, and not in quotation marks. Every
// catalogue text is such a text.
bool ReaderKeepsDefault(std::string_view text) {
    if (text.empty() || text.size() >= kLanguageTextBufferSize) return false;
    if (text.front() == '"' || text.front() == '\'') return false;
    if (static_cast<unsigned char>(text.back()) <= ' ') return false;
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return c != '\0' && static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::string ReadLanguageText(std::string_view appPath, std::string_view language,
                             std::string_view key, std::string_view englishDefault) {
    std::string file;
    file.reserve(appPath.size() + language.size() + 10);
    file.append(appPath).append("\\Lang\\").append(language).append(".ini");
    // Without the file the reader gives the default, but only after trying to open the file
    // for this one text (an unzipped copy that never chose a language asks for "Lang\.ini").
    if (ReaderKeepsDefault(englishDefault)) {
        const DWORD attributes = GetFileAttributesA(file.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return ApplyLineBreaks(std::string(englishDefault));
        }
    }
    const std::string keyText(key);
    const std::string defaultText(englishDefault);

    std::string text(kLanguageTextBufferSize, '\0');
    GetPrivateProfileStringA(kLanguageSection, keyText.c_str(), defaultText.c_str(), text.data(),
                             static_cast<DWORD>(text.size()), file.c_str());
    // The terminating NUL, not the returned count, marks the end: older systems count
    // differently when the text is cut.
    text.resize(static_cast<std::size_t>(std::find(text.begin(), text.end(), '\0') - text.begin()));
    return ApplyLineBreaks(std::move(text));
}
