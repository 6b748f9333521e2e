// The language files' reading rules (app/ProfileText, held to the platform's reader under Wine)
// over any file and any lookup: no crash, and the rules they document hold for every input.
#include <cstdint>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

#include "app/ProfileText.h"
#include "res/TextCatalog.h"
#include "tests/shared/LanguageTextSupport.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

std::string SwapAsciiCase(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 32);
        } else if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + 32);
        }
    }
    return text;
}

bool StartsWithUtf16Mark(const std::string& file) {
    return file.starts_with("\xFF\xFE") || file.starts_with("\xFE\xFF");
}

bool IsAscii(const std::string& text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::size_t buffer =
        in.ConsumeBool() ? kLanguageTextBufferSize : in.ConsumeIntegralInRange<std::size_t>(0, 40);
    const std::string section =
        in.ConsumeBool() ? kLanguageSection : in.ConsumeRandomLengthString(16);
    const std::string key = in.ConsumeRandomLengthString(16);
    const std::string fallback = in.ConsumeRandomLengthString(64);
    const std::string file = in.ConsumeRemainingBytesAsString();

    const std::string text = profile::ReadProfileString(file, section, key, fallback, buffer);
    Check(text.size() < std::max<std::size_t>(buffer, 1));
    Check(text.find('\0') == std::string::npos);

    // Names compare without regard to the case of ASCII letters.
    Check(profile::ReadProfileString(file, SwapAsciiCase(section), SwapAsciiCase(key), fallback,
                                     buffer) == text);

    // Every CR and LF ends a line, and blank lines are skipped: CR LF reads as LF.
    if (!StartsWithUtf16Mark(file)) {
        std::string unix;
        for (std::size_t i = 0; i < file.size(); ++i) {
            if (!(file[i] == '\r' && i + 1 < file.size() && file[i + 1] == '\n')) unix += file[i];
        }
        Check(profile::ReadProfileString(unix, section, key, fallback, buffer) == text);
    }

    // ASCII text reads alike in every encoding the reader knows.
    if (IsAscii(file) && !file.empty()) {
        Check(profile::ReadProfileString("\xEF\xBB\xBF" + file, section, key, fallback, buffer) ==
              text);
        std::string utf16 = "\xFF\xFE";
        for (char c : file) utf16 += {c, '\0'};
        Check(profile::ReadProfileString(utf16, section, key, fallback, buffer) == text);
    }

    // Only the first line with the key in the first section of its name counts.
    Check(profile::ReadProfileString("[Fz]\r\nfz=first\r\n" + file, "FZ", "FZ", fallback, buffer) ==
          std::string("first").substr(0, buffer > 0 ? buffer - 1 : 0));

    // The program's lookup: the section, its buffer, then every '*' a line break.
    const std::string shown = langtest::LanguageTextFromBytes(file, key, fallback);
    Check(shown.size() < kLanguageTextBufferSize && shown.find('*') == std::string::npos);
    return 0;
}
