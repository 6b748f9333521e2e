// The language store's lookup through the platform's initialization-file reader.
#include "app/LanguageStore.h"

#include <windows.h>

#include <algorithm>

#include "res/TextCatalog.h"

std::string ReadLanguageText(std::string_view appPath, std::string_view language,
                             std::string_view key, std::string_view englishDefault) {
    std::string file;
    file.reserve(appPath.size() + language.size() + 10);
    file.append(appPath).append("\\Lang\\").append(language).append(".ini");
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
